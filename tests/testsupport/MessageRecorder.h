#pragma once
// Answers the program's message boxes in a test and keeps what they showed.

#include "platform/MessageBox.h"

#include <QList>
#include <deque>

namespace testsupport {

class MessageRecorder {
public:
    MessageRecorder();  // answers IDOK / IDNO unless told otherwise
    ~MessageRecorder(); // restores the real message boxes
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void queueAnswer(int answer) { answers_.push_back(answer); }
    const QList<platform::MessageRequest>& shown() const { return shown_; }
    // Run inside the box, before it answers (for example to change a format).
    void setOnShow(std::function<void(const platform::MessageRequest&)> f) {
        onShow_ = std::move(f);
    }

private:
    std::deque<int> answers_;
    QList<platform::MessageRequest> shown_;
    std::function<void(const platform::MessageRequest&)> onShow_;
};

} // namespace testsupport
