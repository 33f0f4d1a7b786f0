#include "compare/TextConv.h"

namespace quillon {

std::string TextConv::write(const ApplicationRecords& records) {
    std::string out;
    for (std::size_t s = 0; s < kRecordSectionCount; ++s) {
        const std::string_view section = recordSectionName(static_cast<RecordSection>(s));
        for (const Record& r : records.sections[s]) {
            out += section;
            out += ": ";
            out += r.label;
            for (const RecordField& f : r.fields) {
                out += " | ";
                out += f.caption;
                out += ": ";
                out += f.value;
            }
            out += '\n';
            for (const std::string& item : r.items) {
                out += section;
                out += ": ";
                out += r.label;
                out += ": ";
                out += item;
                out += '\n';
            }
        }
    }
    return out;
}

} // namespace quillon
