// The only place that reads and writes files. Reading takes the whole file; writing goes to a
// temporary file in the target's folder that is flushed and renamed over the target, so the
// target is always either the old file or the complete new one.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ot {

// A file opened for reading: its size, or -1 with the system's reason when it cannot be read
// (missing, no permission, not a regular file).
struct FileProbe {
  int64_t Size = -1;
  std::string Reason;  // empty when readable
};
FileProbe ProbeFile(const std::string& path);

// Reads the whole file; throws FileError when it cannot, or when its size differs from
// expectedSize (the file changed since it was probed).
std::vector<uint8_t> ReadWholeFile(const std::string& path, int64_t expectedSize);

// Writes data as the complete new content of path. A symbolic link stays and its target is
// replaced; the permissions of an existing target are kept. Throws FileError naming the file
// and the reason; on failure the target is untouched and no temporary file is left.
void WriteFileAtomically(const std::string& path, std::string_view data);

// The lowest write call, replaceable so that tests can make writes fail (a full disk).
using WriteFunction = ssize_t (*)(int fd, const void* data, size_t size);
void SetWriteFunctionForTesting(WriteFunction fn);  // nullptr restores ::write

}  // namespace ot
