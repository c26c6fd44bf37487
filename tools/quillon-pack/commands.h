#pragma once
// The commands of quillon-pack, each over its own arguments (after the command word).

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "pack.h"

namespace quillon::pack {

int CommandPinfo(const std::vector<std::string>& args, std::ostream& out);
int CommandEncodeConfig(const std::vector<std::string>& args, std::ostream& out);
int CommandDecodeConfig(const std::vector<std::string>& args, std::ostream& out);
int CommandInspect(const std::vector<std::string>& args, std::ostream& out);
int CommandIconset(const std::vector<std::string>& args, std::ostream& out);
int CommandStore(const std::vector<std::string>& args, std::ostream& out);
int CommandList(const std::vector<std::string>& args, std::ostream& out);
int CommandUnpack(const std::vector<std::string>& args, std::ostream& out);
int CommandPlan(const std::vector<std::string>& args, std::ostream& out);

// The code page named by --code-page (default GBK).
std::unique_ptr<CodePage> OpenCodePage(const std::string& name);
// Text in the code page; Error naming `what` when a character has no place in it.
std::string ToCodePage(CodePage& code_page, const std::wstring& text, const std::wstring& what);

}  // namespace quillon::pack
