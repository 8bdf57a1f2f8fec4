// The name cmail gives in EHLO. vmime's own platform handler finds it by asking DNS for
// the canonical name of this host, which costs a round trip on every send and, with a
// dead name server, seconds of the time budget. Ours takes the local host name as it
// is. Call installEhloName() once, before the first SMTP session.
#pragma once

#include <string>

namespace sendwerk::cmail {

// The host name (gethostname), or "localhost" when it has none.
std::string localHostName();

void installEhloName();

}  // namespace sendwerk::cmail
