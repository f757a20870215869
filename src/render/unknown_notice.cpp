#include "render/unknown_notice.h"

namespace vell {

std::string unknown_opcode_notice(const std::string& download_address) {
    const std::string line_break = "\r";
    return std::string("vell has encountered a code that is not designed to handle. ") +
           "This page may not be completely displayed. There are two things that " +
           "can cause this: " + line_break +
           "1. The print-preview may be corrupt. " + "Try regenerating the document." + line_break +
           "2. You may have an old version " +
           "of vell.exe on you machine. You can obtain the latest by downloading it from " +
           "the vell download page:" + line_break + download_address + line_break + line_break +
           "If the problems persist, please contact your software vendor.";
}

UnknownNoticeState& unknown_notice_state() {
    static UnknownNoticeState state;
    return state;
}

}  // namespace vell
