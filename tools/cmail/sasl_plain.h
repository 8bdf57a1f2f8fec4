// AUTH PLAIN in one round trip. vmime 0.9.2 runs PLAIN as if the server had to speak
// first (AUTH PLAIN, wait for "334", then the credentials), which costs a round trip
// on every send; RFC 4954 lets the client send the credentials with the command.
// Call installPlainInitialResponse() once, before the first SMTP session; it replaces
// vmime's PLAIN mechanism in its mechanism factory.
#pragma once

namespace sendwerk::cmail {

void installPlainInitialResponse();

}  // namespace sendwerk::cmail
