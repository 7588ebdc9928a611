#pragma once
// The buttons the model pages share: the product picture that enters the settings and the
// restore button with its confirmation. Each page connects what the picture shows and reads.
class DevicePage;
class PopBox;
class QPushButton;
class QRect;
class QString;
class QWidget;

// A click hides the picture, then tells the page it was entered.
QPushButton *add_picture_button(DevicePage *page, const QRect &geometry, const QString &image);

// "恢复默认设置" at the top right, hidden until the page is entered.
QPushButton *add_restore_button(QWidget *page);

// The question the restore button asks first; its OK signal is the page's restore.
PopBox *add_restore_prompt(QWidget *page, QPushButton *restore_button);
