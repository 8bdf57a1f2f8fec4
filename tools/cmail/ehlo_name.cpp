#include "ehlo_name.h"

#include <vmime/platform.hpp>
#include <vmime/platforms/posix/posixHandler.hpp>

#include <unistd.h>

namespace sendwerk::cmail {

namespace {

class NoLookupHandler : public vmime::platforms::posix::posixHandler {
public:
    const vmime::string getHostName() const override { return localHostName(); }
};

}  // namespace

std::string localHostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
    return name;
}

void installEhloName() { vmime::platform::setHandler<NoLookupHandler>(); }

}  // namespace sendwerk::cmail
