#pragma once
// Modal message boxes. Tests answer them through setHandler instead of a
// real dialog, and read what would have been shown.

#include <QString>
#include <functional>

namespace platform {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information };

constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct MessageRequest {
    QString text;
    QString title; // empty: the program's default title
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Shows the box and answers the button pressed (IDOK, IDYES or IDNO).
int showMessage(const MessageRequest& request);

// Replaces the real dialog (tests, through a SeamGuard); an empty handler
// restores it. Answers the handler it replaces.
using MessageHandler = std::function<int(const MessageRequest&)>;
MessageHandler setMessageHandler(MessageHandler handler);

} // namespace platform
