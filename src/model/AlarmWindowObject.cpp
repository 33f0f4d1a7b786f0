#include "model/AlarmWindowObject.h"

#include <algorithm>

namespace quillon {

Status AlarmWindowObject::setOptions(const AlarmWindowOptions& options) {
    if (options.columns.size() > kMaxColumns) {
        return Status::fail("An alarm window has at most 255 columns.");
    }
    if (std::any_of(options.columns.begin(), options.columns.end(),
                    [](const AlarmColumn& c) { return c.header.size() > kMaxHeaderLength; })) {
        return Status::fail("A column header is longer than 255 characters.");
    }
    options_ = options;
    lengthChanged();
    return Status::success();
}

std::unique_ptr<ScreenObject> AlarmWindowObject::clone() const {
    return std::make_unique<AlarmWindowObject>(*this);
}

std::uint32_t AlarmWindowObject::kindPartLength() const noexcept {
    std::uint32_t length = 4;
    for (const AlarmColumn& c : options_.columns) {
        length += 2;
        if (options_.showHeaders) {
            length += static_cast<std::uint32_t>(c.header.size()) + 1;
        }
    }
    return length;
}

Status AlarmWindowObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(options_.windowOption);
    sink.u8(options_.showHeaders ? 1 : 0);
    sink.u8(options_.secondWindowOption);
    sink.u8(static_cast<std::uint8_t>(options_.columns.size()));
    for (const AlarmColumn& c : options_.columns) {
        sink.u8(c.type);
        if (options_.showHeaders) {
            sink.u8(static_cast<std::uint8_t>(c.header.size()));
            sink.chars(c.header);
        }
        sink.u8(c.option);
    }
    return Status::success();
}

} // namespace quillon
