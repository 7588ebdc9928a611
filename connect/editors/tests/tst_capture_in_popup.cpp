// Key capture inside the assignment dialog, a pop-up, on a real X server: keys typed reach
// the editor and the recorder, and when the capture ends the next click lands in the
// dialog instead of closing it.
#include "editors/FunctionLists.h"
#include "editors/btn_Dialog.h"
#include "editors/micro_Widget.h"
#include "editors/mkey_Edit.h"

#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QPushButton>
#include <QtTest>

namespace {

void type_on_x(const QString &keys)
{
    QCOMPARE(QProcess::execute("xdotool", {"key", "--delay", "30", keys}), 0);
}

// The dialog's fade-out takes 500 ms: still shown after it means it was not closed.
void expect_still_shown(btn_Dialog &dialog)
{
    QTest::qWait(800);
    QVERIFY(dialog.isVisible());
}

} // namespace

class CaptureInPopupTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_dialog.reset(); m_window.reset(); }

    void a_click_after_capturing_a_combination_keeps_the_dialog();
    void a_click_after_recording_a_macro_keeps_the_dialog();

private:
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<btn_Dialog> m_dialog;
};

void CaptureInPopupTest::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(800, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_dialog = std::make_unique<btn_Dialog>(m_window.get());
    m_dialog->move(m_window->mapToGlobal(QPoint(100, 100)));
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void CaptureInPopupTest::a_click_after_capturing_a_combination_keeps_the_dialog()
{
    btn_Dialog &dialog = *m_dialog;
    mkey_Edit &editor = *dialog.combo_list->editor;
    QTest::mouseClick(dialog.combo_tab, Qt::LeftButton);
    editor.line_edit()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(editor.line_edit()->hasFocus());
    type_on_x("ctrl+b");
    QTRY_COMPARE(editor.text(), QString("CTRL+B"));

    QTest::mouseClick(dialog.func_tab, Qt::LeftButton);  // the capture ends with the focus
    QVERIFY(dialog.func_tab->isChecked());
    expect_still_shown(dialog);
    QTest::mouseClick(dialog.func_list->rows[4], Qt::LeftButton);
    QVERIFY(dialog.func_list->rows[4]->isChecked());
    expect_still_shown(dialog);
}

void CaptureInPopupTest::a_click_after_recording_a_macro_keeps_the_dialog()
{
    btn_Dialog &dialog = *m_dialog;
    micro_Widget &recorder = *dialog.recorder;
    QTest::mouseClick(dialog.macro_tab, Qt::LeftButton);
    QTest::mouseClick(recorder.record_button(), Qt::LeftButton);
    QVERIFY(recorder.recording());
    type_on_x("a");
    QTRY_COMPARE(recorder.events().size(), std::size_t(2));
    QTest::mouseClick(recorder.record_button(), Qt::LeftButton);
    QVERIFY(!recorder.recording());

    QTest::mouseClick(dialog.func_tab, Qt::LeftButton);
    QVERIFY(dialog.func_tab->isChecked());
    expect_still_shown(dialog);
    QCOMPARE(recorder.events().size(), std::size_t(2));
}

QTEST_MAIN(CaptureInPopupTest)
#include "tst_capture_in_popup.moc"
