#include "FuzzHarness.h"

#include <cstdio>
#include <cstdlib>

namespace vexora::fuzz {

void fail(const char* what, const QByteArray& detail) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    if (!detail.isEmpty()) std::fprintf(stderr, "  written: %s\n", detail.left(2000).constData());
    std::abort();
}

void dispatch(const std::uint8_t* data, std::size_t size, std::initializer_list<Decoder> decoders) {
    if (size == 0 || decoders.size() == 0) return;
    const std::size_t index = std::uint8_t(data[0] - '0') % decoders.size();
    const QByteArray body(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    decoders.begin()[index](body);
}

}  // namespace vexora::fuzz
