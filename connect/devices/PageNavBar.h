#pragma once
#include <QWidget>

class QButtonGroup;
class QLabel;
class QPushButton;
class QStackedWidget;

// The bottom bar of a device page: picture tabs that switch its settings pages (ids in the
// order added, the first checked), with a tip above the tab under the pointer.
class PageNavBar : public QWidget
{
    Q_OBJECT
public:
    QPushButton *tab(int id) const;
    QLabel *tip() const { return m_tip; }

    // Puts the bar, hidden until the page is entered, at the foot of the page's settings and
    // lets its tabs switch them.
    void switch_settings(QStackedWidget *settings);

signals:
    void nav_btn_selected(int);

protected:
    explicit PageNavBar(QWidget *parent);
    void add_tab(int x, const QString &image, const QString &checked_image, int tip_x, const QString &tip);
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void nav_btn_toggled(int ID, bool checked);

private:
    struct Tip {
        int x;
        QString text;
    };

    QButtonGroup *m_group;
    QLabel *m_tip;
    QList<Tip> m_tips;  // by tab id
};
