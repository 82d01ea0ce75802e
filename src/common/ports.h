#pragma once
// Small ports shared by several modules. Each platform supplies its own
// implementation; tests use recording fakes.
#include <string>
#include <string_view>

namespace korvel {

// A message box with an OK button. An empty caption means the platform's
// default caption.
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual void show(std::u16string_view text, std::u16string_view caption) = 0;
};

}  // namespace korvel
