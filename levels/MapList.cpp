#include "levels/MapList.h"

#include <fstream>

#include "levels/TextFile.h"

int MapList::load(std::string path)
{
    // A list that does not open just adds nothing; the log still says what was read.
    std::ifstream file;
    openTextFile(file, path);
    std::ofstream log("./log/GameLog.txt");
    log << "map lues :" << '\n';

    // Entries are appended, never replaced: a second load adds after the first.
    std::string ligne;
    while (readTextLine(file, ligne)) {
        entries.push_back(ligne);
        log << ligne << '\n';
    }
    return 1;
}

const std::string& MapList::operator[](std::size_t index) const
{
    static const std::string none;
    return index < entries.size() ? entries[index] : none;
}
