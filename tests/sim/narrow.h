#pragma once
// Readable log entries and test messages from UTF-16 texts.
#include <string>

#include "platform/text.h"

namespace sim {

// UTF-8 of `text`; unpaired surrogates become U+FFFD.
std::string Narrow(platform::TextView text);

}  // namespace sim
