// Saving onto failing file systems: every failure is reported with the file's name, the old
// file stays as it was, and no temporary file is left behind.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

#include "frame/commands.h"
#include "frame/editor_state.h"
#include "frame/errors.h"
#include "frame/filesys.h"
#include "support/support.h"

namespace {

const std::string kOld = "old table bytes";

// A tmpfs mounted on a folder of the test (root only), unmounted at the end.
class Mount {
 public:
  Mount(const std::string& dir, const std::string& options) : dir_(dir) {
    mkdir(dir.c_str(), 0755);
    ok_ = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~Mount() {
    if (ok_) ::umount2(dir_.c_str(), MNT_DETACH);
  }
  bool Ok() const { return ok_; }
  void Remount(unsigned long flags, const std::string& options) {
    ok_ = ok_ && ::mount("tmpfs", dir_.c_str(), "tmpfs", MS_REMOUNT | flags, options.c_str()) == 0;
  }

 private:
  std::string dir_;
  bool ok_ = false;
};

ssize_t FullDisk(int, const void*, size_t) {
  errno = ENOSPC;
  return -1;
}

ssize_t ShortThenFull(int fd, const void* data, size_t size) {
  static bool first = true;
  if (first) {
    first = false;
    return ::write(fd, data, size / 2);
  }
  first = true;
  errno = ENOSPC;
  return -1;
}

struct Fault {
  const char* name;
  // Prepares the folder and returns the target path ("" to skip the case here).
  std::function<std::string(const ottest::TempDir&, std::unique_ptr<Mount>&)> prepare;
  ot::WriteFunction write = nullptr;
  const char* reason;  // part of the message
};

TEST(SaveFaults, EveryFailureIsReportedAndLeavesTheTarget) {
  const Fault faults[] = {
      {"read-only target",
       [](const ottest::TempDir& d, auto&) {
         ottest::WriteFile(d.File("t.bmd"), kOld);
         chmod(d.File("t.bmd").c_str(), 0444);
         return d.File("t.bmd");
       },
       nullptr, "Permission denied"},
      {"read-only folder",
       [](const ottest::TempDir& d, std::unique_ptr<Mount>& m) -> std::string {
         const std::string dir = d.File("ro");
         if (geteuid() == 0) {
           // Root writes into any folder whose mode forbids it: use a read-only file system.
           m = std::make_unique<Mount>(dir, "size=64k");
           if (!m->Ok()) return "";
           ottest::WriteFile(dir + "/t.bmd", kOld);
           m->Remount(MS_RDONLY, "size=64k");
           if (!m->Ok()) return "";
         } else {
           mkdir(dir.c_str(), 0755);
           ottest::WriteFile(dir + "/t.bmd", kOld);
           chmod(dir.c_str(), 0555);
         }
         return dir + "/t.bmd";
       },
       nullptr, geteuid() == 0 ? "Read-only file system" : "Permission denied"},
      {"missing folder", [](const ottest::TempDir& d, auto&) { return d.File("none/t.bmd"); },
       nullptr, "No such file or directory"},
      {"path is a folder",
       [](const ottest::TempDir& d, auto&) {
         mkdir(d.File("t.bmd").c_str(), 0755);
         return d.File("t.bmd");
       },
       nullptr, "Is a directory"},
      {"full disk (injected)",
       [](const ottest::TempDir& d, auto&) {
         ottest::WriteFile(d.File("t.bmd"), kOld);
         return d.File("t.bmd");
       },
       FullDisk, "No space left on device"},
      {"disk full after a partial write (injected)",
       [](const ottest::TempDir& d, auto&) {
         ottest::WriteFile(d.File("t.bmd"), kOld);
         return d.File("t.bmd");
       },
       ShortThenFull, "No space left on device"},
      {"full disk (tmpfs)",
       [](const ottest::TempDir& d, std::unique_ptr<Mount>& m) -> std::string {
         if (geteuid() != 0) return "";
         const std::string dir = d.File("small");
         m = std::make_unique<Mount>(dir, "size=4k");
         if (!m->Ok()) return "";
         ottest::WriteFile(dir + "/t.bmd", kOld);  // takes the only page
         return dir + "/t.bmd";
       },
       nullptr, "No space left on device"},
  };
  for (const auto& f : faults) {
    SCOPED_TRACE(f.name);
    ottest::TempDir dir;
    std::unique_ptr<Mount> mount;
    const std::string target = f.prepare(dir, mount);
    if (target.empty()) {
      std::printf("skipped here: %s\n", f.name);
      continue;
    }
    const std::string folder = target.substr(0, target.rfind('/'));
    struct stat st;
    const bool existed = stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    ot::TEditorState state;
    ottest::ScriptedPort port;
    ottest::WriteFile(dir.File("Gate.bmd"), std::string(900, '\0'));
    port.answers = {dir.File("Gate.bmd"), target};
    ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
    ot::SetWriteFunctionForTesting(f.write);
    try {
      ot::SaveBtnClick(state, port);
      ADD_FAILURE() << "reported as saved";
    } catch (const ot::FileError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(target), std::string::npos) << message;
      EXPECT_NE(message.find(f.reason), std::string::npos) << message;
    }
    ot::SetWriteFunctionForTesting(nullptr);
    if (existed) {
      EXPECT_EQ(ottest::ReadFile(target), kOld);
    }
    // No temporary file stays behind in the target's folder.
    if (stat(folder.c_str(), &st) == 0) {
      for (const auto& e : std::filesystem::directory_iterator(folder)) {
        EXPECT_EQ(e.path().filename().string().rfind(".t.bmd.", 0), std::string::npos)
            << e.path();
      }
    }
  }
}

TEST(SaveFaults, SymbolicLinkStaysAndItsTargetIsReplacedWithItsPermissions) {
  ottest::TempDir dir;
  mkdir(dir.File("real").c_str(), 0755);
  ottest::WriteFile(dir.File("real/Gate.bmd"), std::string(2304, 'x'));
  chmod(dir.File("real/Gate.bmd").c_str(), 0604);
  ASSERT_EQ(symlink("real/Gate.bmd", dir.File("link.bmd").c_str()), 0);
  ot::TEditorState state;
  ottest::ScriptedPort port;
  ottest::WriteFile(dir.File("in.bmd"), std::string(900, '\0'));
  port.answers = {dir.File("in.bmd"), dir.File("link.bmd")};
  ASSERT_EQ(ot::OpenBtnClick(state, port), ot::OpenOutcome::Opened);
  ASSERT_EQ(ot::SaveBtnClick(state, port), ot::SaveOutcome::Saved);
  struct stat st;
  ASSERT_EQ(lstat(dir.File("link.bmd").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ottest::ReadFile(dir.File("real/Gate.bmd")), std::string(900, '\0'));
  ASSERT_EQ(stat(dir.File("real/Gate.bmd").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.bmd", "link.bmd", "real"}));
}

}  // namespace
