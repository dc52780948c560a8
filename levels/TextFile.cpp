#include "levels/TextFile.h"

#include <filesystem>
#include <system_error>

bool openTextFile(std::ifstream& file, const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    file.open(path);
    return file.is_open();
}

bool readTextLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line))
        return false;
    // eof here means no LF ended the line, so a trailing CR is data.
    if (!in.eof() && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}
