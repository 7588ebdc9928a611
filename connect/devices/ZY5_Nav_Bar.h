#pragma once
#include "PageNavBar.h"

// The ZY5 page's bottom bar: buttons (id 0), lighting (id 1) and pointer (id 2).
class ZY5_Nav_Bar : public PageNavBar
{
    Q_OBJECT
public:
    explicit ZY5_Nav_Bar(QWidget *parent = nullptr);
};
