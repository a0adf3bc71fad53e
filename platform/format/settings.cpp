#include "platform/format/format.h"

namespace format {

const Settings& settings() {
    static const Settings brazilian;
    return brazilian;
}

} // namespace format
