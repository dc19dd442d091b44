// Where a data set's files lie in its directory, and the few file-system
// steps the historian takes on them itself.
#pragma once

#include <string>
#include <vector>

namespace tbase {

struct DataSetFiles {
    std::string directory;
    std::string name;

    std::string keyPath() const { return directory + "/" + name + ".KEY"; }
    std::string nowPath() const { return directory + "/" + name + ".NOW"; }
    std::string lockPath() const { return directory + "/" + name + ".LCK"; }
    // "NAME.00001.HIS" and upwards: the values files rolled over from the .NOW file.
    std::string rolledOverPath(unsigned number) const;
    // The rolled-over files present, oldest (lowest number) first.
    std::vector<std::string> rolledOverPaths() const;
    unsigned nextRolledOverNumber() const;
};

bool fileExists(const std::string &path);
// Makes a rename or a new file in directory survive a power loss.
void syncDirectory(const std::string &directory);

// An exclusive hold on a data set while one handle has it open (flock on its
// .LCK file, so a program that dies lets go of it).
class DataSetLock {
public:
    // Throws TBASE_E_DATA_SET_IN_USE when another holder has it.
    explicit DataSetLock(const std::string &path);
    ~DataSetLock();
    DataSetLock(const DataSetLock &) = delete;
    DataSetLock &operator=(const DataSetLock &) = delete;

    // Whether some holder has the data set open now.
    static bool isHeld(const std::string &path);

private:
    int fd_ = -1;
};

} // namespace tbase
