#pragma once

#include "compare/ApplicationRecords.h"

#include <string>

namespace quillon {

// The line-oriented view of an application for version control: one line per record, section by section in
// the order the editors list them, "Section: label | Caption: value | ...", and one line per member of an
// ordered list ("Section: label: member"), so that a change to one tag, object or task is a change to one
// line of a diff. The text depends on nothing but the records (not on the time of the last save).
class TextConv final {
public:
    static std::string write(const ApplicationRecords& records);
};

} // namespace quillon
