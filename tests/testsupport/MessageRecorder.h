#pragma once
// Answers the program's message boxes in a test and keeps what they showed.

#include "platform/MessageBox.h"
#include "platform/SeamGuard.h"

#include <QList>
#include <deque>
#include <functional>

namespace testsupport {

class MessageRecorder {
public:
    // Answers IDOK / IDNO unless told otherwise; gone, the boxes before it
    // answer again.

    void queueAnswer(int answer) { answers_.push_back(answer); }
    const QList<platform::MessageRequest>& shown() const { return shown_; }
    // Run inside the box, before it answers (for example to change a format).
    void setOnShow(std::function<void(const platform::MessageRequest&)> f) {
        onShow_ = std::move(f);
    }

private:
    int answer(const platform::MessageRequest& request) {
        shown_.append(request);
        if (onShow_)
            onShow_(request);
        if (answers_.empty())
            return request.buttons == platform::MessageButtons::YesNo ? platform::IDNO
                                                                      : platform::IDOK;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::deque<int> answers_;
    QList<platform::MessageRequest> shown_;
    std::function<void(const platform::MessageRequest&)> onShow_;
    const platform::SeamGuard<platform::MessageHandler> guard_{
        platform::setMessageHandler,
        [this](const platform::MessageRequest& request) { return answer(request); }};
};

} // namespace testsupport
