#include "frame/filesys.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <gtest/gtest.h>

#include "frame/errors.h"
#include "support/support.h"

namespace {

TEST(WriteFileAtomically, ReplacesWholeFileWithExactSize) {
  ottest::TempDir dir;
  const std::string path = dir.File("t.bmd");
  ottest::WriteFile(path, std::string(2304, 'o'));
  ot::WriteFileAtomically(path, "new");
  EXPECT_EQ(ottest::ReadFile(path), "new");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.bmd"});
}

TEST(WriteFileAtomically, KeepsPermissionsAndSymbolicLinks) {
  ottest::TempDir dir;
  const std::string real = dir.File("real.bmd");
  ottest::WriteFile(real, "old");
  chmod(real.c_str(), 0640);
  ASSERT_EQ(symlink("real.bmd", dir.File("link.bmd").c_str()), 0);
  ot::WriteFileAtomically(dir.File("link.bmd"), "new");
  struct stat st;
  ASSERT_EQ(lstat(dir.File("link.bmd").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ottest::ReadFile(real), "new");
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(WriteFileAtomically, FailuresLeaveTheTargetAndNoTemporaryFile) {
  ottest::TempDir dir;
  const std::string readOnly = dir.File("ro.bmd");
  ottest::WriteFile(readOnly, "keep");
  chmod(readOnly.c_str(), 0444);
  const std::string folder = dir.File("folder");
  mkdir(folder.c_str(), 0700);
  for (const std::string& target : {readOnly, folder, dir.File("missing/x.bmd")}) {
    SCOPED_TRACE(target);
    try {
      ot::WriteFileAtomically(target, "new");
      ADD_FAILURE() << "written";
    } catch (const ot::FileError& e) {
      EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(ottest::ReadFile(readOnly), "keep");
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder", "ro.bmd"}));
}

ssize_t FullDisk(int, const void*, size_t) {
  errno = ENOSPC;
  return -1;
}

TEST(WriteFileAtomically, FullDiskIsReported) {
  ottest::TempDir dir;
  const std::string path = dir.File("t.bmd");
  ottest::WriteFile(path, "keep");
  ot::SetWriteFunctionForTesting(FullDisk);
  try {
    ot::WriteFileAtomically(path, "new content");
    ADD_FAILURE() << "written";
  } catch (const ot::FileError& e) {
    EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos);
  }
  ot::SetWriteFunctionForTesting(nullptr);
  EXPECT_EQ(ottest::ReadFile(path), "keep");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.bmd"});
}

}  // namespace
