#include "tests/testsupport/MessageRecorder.h"

namespace testsupport {

int MessageRecorder::answer(const platform::MessageRequest& request) {
    shown_.append(request);
    if (onShow_)
        onShow_(request);
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return request.buttons == platform::MessageButtons::YesNo ? platform::IDNO : platform::IDOK;
}

} // namespace testsupport
