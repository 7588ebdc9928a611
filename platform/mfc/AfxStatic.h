// CStatic: a static control bound by subclassing.
#pragma once

#include "mfc/AfxWnd.h"

class CStatic : public CWnd {};
