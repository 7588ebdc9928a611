#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// A one-line confirmation box: warning icon, question, OK and cancel.
class PopBox : public QDialog
{
    Q_OBJECT
public:
    explicit PopBox(QWidget *parent = nullptr);

    QLabel *text_label() const { return m_textLabel; }
    QPushButton *ok_button() const { return m_okButton; }
    QPushButton *cancel_button() const { return m_cancelButton; }

signals:
    void ok_clicked();

public slots:
    void setPopupText(QString text);
    void setOkBtnText(QString text);

private:
    void confirm();

    QLabel *m_textLabel;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
