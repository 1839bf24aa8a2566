// The picture of the notice dialog: a warning sign, 40 by 32, one bit.
#pragma once

#include "framework/draw/vIcon.h"

extern vIcon noticeIcon;
