#include "frame/filesys.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "frame/errors.h"

namespace ot {
namespace {

WriteFunction gWrite = nullptr;

ssize_t DoWrite(int fd, const void* data, size_t size) {
  return gWrite ? gWrite(fd, data, size) : ::write(fd, data, size);
}

std::string Reason(int err) { return std::strerror(err); }

[[noreturn]] void Fail(const std::string& path, int err) {
  throw FileError("无法保存文件 " + path + ": " + Reason(err));
}

std::string DirName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links so that the link itself is kept and its target replaced.
std::string ResolveLinks(const std::string& path) {
  std::string p = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::string buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
    ssize_t n = readlink(p.c_str(), buf.data(), buf.size());
    if (n < 0) return p;
    buf.resize(static_cast<size_t>(n));
    p = (!buf.empty() && buf[0] == '/') ? buf : DirName(p) + "/" + buf;
  }
  Fail(path, ELOOP);
}

}  // namespace

void SetWriteFunctionForTesting(WriteFunction fn) { gWrite = fn; }

FileProbe ProbeFile(const std::string& path) {
  FileProbe probe;
  // O_NONBLOCK: a FIFO must not hang the command; only regular files are read.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    probe.Reason = Reason(errno);
    return probe;
  }
  struct stat st;
  if (fstat(fd, &st) != 0) {
    probe.Reason = Reason(errno);
  } else if (!S_ISREG(st.st_mode)) {
    probe.Reason = S_ISDIR(st.st_mode) ? Reason(EISDIR) : "not a regular file";
  } else {
    probe.Size = static_cast<int64_t>(st.st_size);
  }
  ::close(fd);
  return probe;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path, int64_t expectedSize) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw FileError("无法读取文件 " + path + ": " + Reason(errno));
  std::vector<uint8_t> image(static_cast<size_t>(expectedSize));
  size_t done = 0;
  int err = 0;
  while (done < image.size()) {
    ssize_t n = ::read(fd, image.data() + done, image.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      err = n < 0 ? errno : 0;
      break;
    }
    done += static_cast<size_t>(n);
  }
  // One more byte would mean the file grew since it was measured.
  uint8_t extra;
  bool grew = done == image.size() && ::read(fd, &extra, 1) > 0;
  ::close(fd);
  if (done != image.size() || grew)
    throw FileError("无法读取文件 " + path + ": " +
                    (err ? Reason(err) : std::string("file changed while being read")));
  return image;
}

void WriteFileAtomically(const std::string& path, std::string_view data) {
  const std::string target = ResolveLinks(path);
  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) Fail(path, EISDIR);
    if (!S_ISREG(old.st_mode)) throw FileError("无法保存文件 " + path + ": not a regular file");
    // A file without write permission is kept as it is, even for a user who could replace it.
    if (::access(target.c_str(), W_OK) != 0) Fail(path, errno);
    if ((old.st_mode & 0222) == 0) Fail(path, EACCES);
  }
  std::string temp = DirName(target) + "/." + BaseName(target) + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) Fail(path, errno);
  auto abandon = [&](int err) {
    ::close(fd);
    ::unlink(temp.c_str());
    Fail(path, err);
  };
  mode_t mode;
  if (exists) {
    mode = old.st_mode & 07777;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only the owner's group can be kept by an ordinary user; the content matters more.
    }
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd, mode) != 0) abandon(errno);
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = DoWrite(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) abandon(n < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) abandon(errno);
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    Fail(path, err);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    Fail(path, err);
  }
}

}  // namespace ot
