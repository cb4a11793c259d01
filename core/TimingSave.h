#pragma once

// The titles of the timing window's Save dialogs, one per format.

#include <string>
#include <string_view>

namespace bitwell {

// The Save dialog's title for a file of `suffix` ("svg", "png", "json",
// "csv") in the current language; empty for any other suffix.
std::string TimingSaveTitle(std::string_view suffix);

}  // namespace bitwell
