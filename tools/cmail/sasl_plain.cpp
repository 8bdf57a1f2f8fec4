#include "sasl_plain.h"

#include <vmime/security/sasl/SASLMechanismFactory.hpp>
#include <vmime/security/sasl/builtinSASLMechanism.hpp>

namespace sendwerk::cmail {

namespace {

class PlainWithInitialResponse : public vmime::security::sasl::builtinSASLMechanism {
public:
    PlainWithInitialResponse(vmime::shared_ptr<vmime::security::sasl::SASLContext> context, const vmime::string& name)
        : builtinSASLMechanism(context, name) {}
    bool hasInitialResponse() const override { return true; }
};

}  // namespace

void installPlainInitialResponse() {
    vmime::security::sasl::SASLMechanismFactory::getInstance()->registerMechanism<PlainWithInitialResponse>("PLAIN");
}

}  // namespace sendwerk::cmail
