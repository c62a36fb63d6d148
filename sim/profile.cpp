#include "profile.h"

namespace sim {

Profile factoryProfile(Edition edition) {
    Profile p;
    p.registers = factoryRegisters(edition);
    p.echo = true;
    p.ms = kDefaultMs;
    return p;
}

}  // namespace sim
