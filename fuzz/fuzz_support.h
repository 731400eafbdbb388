#pragma once

// What the fuzz targets share: a scratch folder for parsers that read from a path, and the split of
// one fuzz input into the several files a parser reads together.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::fuzz {

// A Qt application object for the readers that look up plugins or codecs (created once).
void EnsureApp(int argc = 0, char** argv = nullptr);

// A folder of this process's own in /dev/shm (else the temporary folder), removed at exit.
QString ScratchPath(const char* fileName);
void WriteScratch(const QString& path, std::string_view bytes);

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The input cut at NUL bytes into at most `maxParts` parts (the last takes the rest); missing parts
// are empty. The seeds are written the same way (JoinParts).
std::vector<std::string> SplitParts(std::string_view input, std::size_t maxParts);
std::string JoinParts(const std::vector<std::string>& parts);

// Stops the run with a crash the fuzzer records, for a property that does not hold.
[[noreturn]] void Fail(const char* what);

}  // namespace kavrel::fuzz
