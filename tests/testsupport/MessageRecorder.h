#pragma once
// Answers the program's message boxes in a test and keeps what they showed.

#include "platform/MessageBox.h"
#include "platform/SeamGuard.h"

#include <QList>
#include <deque>

namespace testsupport {

class MessageRecorder {
public:
    // Answers IDOK / IDNO unless told otherwise; gone, the boxes before it
    // answer again.

    void queueAnswer(int answer) { answers_.push_back(answer); }
    const QList<platform::MessageRequest>& shown() const { return shown_; }

private:
    int answer(const platform::MessageRequest& request) {
        shown_.append(request);
        if (answers_.empty())
            return request.buttons == platform::MessageButtons::YesNo ? platform::IDNO
                                                                      : platform::IDOK;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::deque<int> answers_;
    QList<platform::MessageRequest> shown_;
    const platform::SeamGuard<platform::MessageHandler> guard_{
        platform::setMessageHandler,
        [this](const platform::MessageRequest& request) { return answer(request); }};
};

} // namespace testsupport
