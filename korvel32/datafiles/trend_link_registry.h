// Where a data set lives: its directory, made with its missing parents, and
// its name registered with that directory in infolink.ini (a name registered
// for another directory is registered anew, one registered for this
// directory is left as it is).
#pragma once

#include <string>

namespace korvel {

class TrendLinkInterface;
class TrendLinkLibrary;

// False, after telling the user (1379), when the directory cannot be made.
bool dataSetDirectoryMade(TrendLinkInterface &trendLink, const std::string &directory);

enum class DataSetRegistration {
    Registered,
    Refused,       // infolink.ini could not be written
    NoRoomInGroup, // the historian holds as many data sets as it can
};

DataSetRegistration registerDataSet(TrendLinkLibrary &library, const std::string &name, const std::string &directory);

} // namespace korvel
