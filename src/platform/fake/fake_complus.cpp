#include "platform/fake/fake_complus.h"

#include "base/error.h"

namespace quillon {

void FakeComPlusCatalogue::Record(const std::wstring& call) {
  calls.push_back(call);
  if (!fail_at.empty() && call.compare(0, fail_at.size(), fail_at) == 0) {
    throw Error(L"catalogue refused: " + call);
  }
}

}  // namespace quillon
