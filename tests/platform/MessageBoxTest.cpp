// Real message boxes are wide enough for their title: a window manager draws
// it in bold beside a window icon and three buttons.

#include "platform/MessageBox.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MessageBox, IsWideEnoughForItsTitle) {
    const platform::MessageRequest requests[] = {
        {"No Capture Hardware Detected", "Quillmere Vantorel v1.58", platform::MessageButtons::Ok,
         platform::MessageIcon::Information},
        {"Please Set Video Format...", "Set Video Format", platform::MessageButtons::YesNo},
        {"Error creating Vantorel.chm", ""}};
    for (const platform::MessageRequest& request : requests) {
        int width = 0;
        QString title;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            width = box->width();
            title = box->windowTitle();
            qobject_cast<QMessageBox*>(box)->done(0);
        });
        platform::showMessage(request);
        QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
        font.setBold(true);
        const QFontMetrics metrics(font);
        EXPECT_GE(width, metrics.horizontalAdvance(title) + 4 * metrics.height())
            << title.toStdString();
    }
}
