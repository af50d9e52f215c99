#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>

namespace {

// Qt wants a runtime folder of the user's alone, and warns at every start when the session gives none (as
// under CI or sudo): the tests get a private one, removed when they end.
class PrivateRuntimeDir {
 public:
  PrivateRuntimeDir() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    std::string pattern = (std::filesystem::temp_directory_path() / "glanex-runtime-XXXXXX").string();
    // mkdtemp creates the folder with mode 0700, as desktops require of a runtime folder.
    if (::mkdtemp(pattern.data()) == nullptr) return;
    path_ = pattern;
    ::setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
  }
  ~PrivateRuntimeDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  PrivateRuntimeDir(const PrivateRuntimeDir&) = delete;
  PrivateRuntimeDir& operator=(const PrivateRuntimeDir&) = delete;

 private:
  std::string path_;
};

}  // namespace

// Widgets need an application object; without a platform chosen, the tests run offscreen, so that they
// need no display, not even while CMake lists them.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const PrivateRuntimeDir runtimeDir;
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
