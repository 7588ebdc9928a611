#pragma once
#include <QWidget>

class QPushButton;

// Instructions for pairing a keyboard and a mouse with their USB receiver.
class App_Pair_Widget : public QWidget
{
    Q_OBJECT
public:
    explicit App_Pair_Widget(QWidget *parent = nullptr);

    QPushButton *return_button() const { return m_returnButton; }

private:
    struct Half {
        int x;
        QString title;
        QStringList steps;
        QString picture;
        QString caption;
    };
    void add_half(const Half &half);

    QPushButton *m_returnButton;
};
