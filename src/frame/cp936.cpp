#include "frame/cp936.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace ot {
namespace {

// An iconv descriptor for one direction. Opening one costs several times more than
// converting a short cell, so each thread keeps one per direction.
class Descriptor {
 public:
  Descriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Descriptor() { iconv_close(cd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  // The descriptor in its initial shift state.
  iconv_t Reset() const {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

iconv_t ToCp936() {
  thread_local const Descriptor d("CP936", "UTF-8");
  return d.Reset();
}

iconv_t FromCp936() {
  thread_local const Descriptor d("UTF-8", "CP936");
  return d.Reset();
}

// One conversion with glibc's iconv. On an invalid or unconvertible sequence it
// either fails (lossy == false) or emits U+FFFD for one input byte and goes on.
std::optional<std::string> Convert(iconv_t (*descriptor)(), std::string_view in, bool lossy) {
  // ASCII is the same in both code pages; most cells are numbers.
  if (IsAscii(in)) return std::string(in);
  iconv_t cd = descriptor();
  std::string out;
  out.resize(in.size() * 2 + 8);
  char* inp = const_cast<char*>(in.data());
  size_t inleft = in.size();
  size_t used = 0;
  bool ok = true;
  while (inleft > 0) {
    char* outp = out.data() + used;
    size_t outleft = out.size() - used;
    size_t r = iconv(cd, &inp, &inleft, &outp, &outleft);
    used = out.size() - outleft;
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2 + 8);
      continue;
    }
    // EILSEQ or EINVAL (a truncated sequence at the end).
    if (!lossy) {
      ok = false;
      break;
    }
    out.resize(used);
    out += "\xEF\xBF\xBD";
    used = out.size();
    out.resize(used + inleft * 2 + 8);
    ++inp;
    --inleft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  if (!ok) return std::nullopt;
  out.resize(used);
  return out;
}

}  // namespace

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::optional<std::string> TryUtf8ToCp936(std::string_view utf8) {
  return Convert(ToCp936, utf8, false);
}

std::optional<std::string> TryCp936ToUtf8(std::string_view cp936) {
  return Convert(FromCp936, cp936, false);
}

std::string Cp936ToUtf8Lossy(std::string_view cp936) {
  return *Convert(FromCp936, cp936, true);
}

std::string Cp936(std::string_view utf8) {
  // The program's own texts are few and converted again with every editor state: keep them.
  static std::mutex mutex;
  static std::unordered_map<std::string, std::string> converted;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = converted.find(std::string(utf8));
  if (it != converted.end()) return it->second;
  auto r = TryUtf8ToCp936(utf8);
  if (!r) throw std::logic_error("text not representable in code page 936");
  return converted.emplace(std::string(utf8), std::move(*r)).first->second;
}

}  // namespace ot
