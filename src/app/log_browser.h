// Alt+L and the log button: the send log in the table browser window, while the main
// window stays usable. When the send log cannot be opened the operator is told so and
// the program ends in order. A press on the end button while the browser was open ends
// the program too, once the browser has closed (its quit ended only the browser).
// GUI thread only.
#pragma once

#include "browse/table_browser.h"
#include "queue/screen.h"

namespace sendwerk {

struct Shared;

void showSendLog(Shared& shared, BrowserContext& context, const MessageBox& message);

}  // namespace sendwerk
