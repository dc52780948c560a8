#pragma once

#include <fstream>
#include <istream>
#include <string>

// Level files are written on Windows as often as not, and were always read there in text mode.

// Opens a regular file for reading; a directory counts as a file that does not open.
bool openTextFile(std::ifstream& file, const std::string& path);

// std::getline that also drops the CR of a CR LF line end, as text-mode reading does.
// A CR not followed by LF (at the very end of the file) stays in the line.
bool readTextLine(std::istream& in, std::string& line);
