#pragma once
// Files and command-line arguments of quillon-pack.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "pack.h"

namespace quillon::pack {

std::filesystem::path PathOf(const std::string& utf8);
std::string Utf8Of(const std::filesystem::path& path);

// Whole file; Error naming the path when it cannot be read.
Bytes ReadBytes(const std::filesystem::path& path);
// Writes beside the target and renames over it, so a failure leaves no torn file.
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
void WriteText(const std::filesystem::path& path, const std::string& text);

// Options and positional arguments of one command. Options take a value ("--name VALUE" or
// "--name=VALUE") unless they are declared as flags.
class Args {
 public:
  // `valued`: options with a value (may repeat); `flags`: options without one.
  Args(const std::vector<std::string>& args, const std::vector<std::string>& valued,
       const std::vector<std::string>& flags);

  const std::vector<std::string>& positional() const { return positional_; }
  bool Has(const std::string& option) const { return values_.count(option) != 0; }
  // The value of an option given at most once; UsageError when given twice.
  std::string Value(const std::string& option, const std::string& fallback = "") const;
  // UsageError when the option is missing.
  std::string Required(const std::string& option) const;
  std::vector<std::string> All(const std::string& option) const;
  // UsageError unless there are between `min` and `max` positional arguments.
  void ExpectPositional(size_t min, size_t max, const std::string& what) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::vector<std::string>> values_;
};

// A --level value: 0 to kMaxPackLevel, in decimal.
int ParseLevel(const std::string& text);

}  // namespace quillon::pack
