// SimDevice: the SIM of a mobile interface checking the PIN written to it.

#include "tests/peers/simdevice.h"

#include "rpc/rpcvocabulary.h"

#include <map>
#include <memory>

namespace {

const std::string keyPin("pin");
const std::string pinReady("ready");
const std::string mobilePrefix("network:mobile.");
// The third wrong PIN in a row blocks the SIM until its PUK is entered, which the device does not take from here.
constexpr int tries = 3;

} // namespace

// The SIM's state is the store's "pin" as the device reports it: "ready", or the error text of the state. A right
// PIN makes it "ready"; a wrong one is refused with "100-wrong password", the third with "124-puk required",
// after which every PIN is refused so.
void SimDevice::checkSimPin(const std::string &pin)
{
    auto wrong = std::make_shared<std::map<std::string, int>>();
    setWriteCheck(keyPin, [this, pin, wrong](const std::string &store, const std::string &value) {
        if (store.compare(0, mobilePrefix.size(), mobilePrefix) != 0) {
            setParam(store, keyPin, value);
            return std::string();
        }
        if (param(store, keyPin) == kra::ERR_PUK_REQUIRED)
            return kra::ERR_PUK_REQUIRED;
        if (value == pin) {
            (*wrong)[store] = 0;
            setParam(store, keyPin, pinReady);
            return std::string();
        }
        if (++(*wrong)[store] < tries)
            return kra::ERR_WRONG_PASSWORD;
        setParam(store, keyPin, kra::ERR_PUK_REQUIRED);
        return kra::ERR_PUK_REQUIRED;
    });
}
