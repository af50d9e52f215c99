#include "cli/InputFiles.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

#include "extraction/DocumentFiles.h"
#include "extraction/Errors.h"

namespace glanex {

namespace {

struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

bool isFolder(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

class FolderWalk {
 public:
  FolderWalk(InputFiles& inputs, const std::optional<std::string>& outputTarget)
      : inputs_(inputs), skipped_(outputTarget ? identityOf(*outputTarget) : std::nullopt) {}

  void walk(const std::string& folder) {
    for (const std::string& path : sortedEntries(folder)) visit(path);
  }

 private:
  std::vector<std::string> sortedEntries(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
      paths.push_back(entry->path().native());
    }
    if (error) reportUnreadable(folder, error.value());
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  // Only the entry itself is examined first, so that a link to a folder is seen as a link.
  void visit(const std::string& path) {
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0) return reportUnreadable(path, errno);
    if (S_ISDIR(status.st_mode)) return walk(path);
    if (S_ISLNK(status.st_mode) && ::stat(path.c_str(), &status) != 0) return reportUnreadable(path, errno);
    if (!S_ISREG(status.st_mode)) return;
    if (skipped_ && FileIdentity{status.st_dev, status.st_ino} == *skipped_) return;
    inputs_.files.push_back(path);
  }

  void reportUnreadable(const std::string& path, int errorNumber) {
    inputs_.unreadable.push_back(fileOpenError(displayPath(path), errorNumber).what());
  }

  InputFiles& inputs_;
  std::optional<FileIdentity> skipped_;
};

}  // namespace

InputFiles listInputFiles(const std::vector<std::string>& names, bool recursive,
                          const std::optional<std::string>& outputTarget) {
  InputFiles inputs;
  FolderWalk folders(inputs, outputTarget);
  for (const std::string& name : names) {
    if (recursive && name != "-" && isFolder(name)) {
      folders.walk(name);
    } else {
      inputs.files.push_back(name);
    }
  }
  return inputs;
}

}  // namespace glanex
