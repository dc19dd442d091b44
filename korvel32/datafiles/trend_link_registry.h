// Where a data set lives: its directory, made with its missing parents, its
// name registered with that directory in infolink.ini (a name registered for
// another directory is registered anew, one registered for this directory is
// left as it is), and the pointer file at the data-file path that tells the
// user where the data sets went.
#pragma once

#include <string>

namespace korvel {

class TrendLinkInterface;

// False, after telling the user (1379), when the directory cannot be made.
bool dataSetDirectoryMade(TrendLinkInterface &trendLink, const std::string &directory);

// Registers the data set of instrument bcn; false, after telling the user,
// when it cannot be (1378, or 1384 naming the instrument when the data set
// belongs to a group and the historian holds no more).
bool dataSetRegistered(TrendLinkInterface &trendLink, const std::string &name, const std::string &directory,
                       bool grouped, unsigned bcn);

// Writes the pointer file at dataFilePath naming the data set name and its
// directory; false, after telling the user (1380), when it cannot.
bool pointerFileWritten(TrendLinkInterface &trendLink, const std::string &dataFilePath, const std::string &name,
                        const std::string &directory);

} // namespace korvel
