// Readable test failure messages for history entries (GoogleTest picks PrintTo up by lookup).
#pragma once

#include "history/ClipboardItem.h"

#include <ostream>

void PrintTo(const ClipboardItem& item, std::ostream* out);
