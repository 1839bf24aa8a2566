#include "framework/controls/DialogText.h"

// clang-format off
const unsigned char charWidthTable[95] = {
//  sp !  "  #  $  %  &  '  (  )  *  +  ,  -  .  /
    2, 2, 3, 4, 4, 5, 3, 2, 3, 3, 3, 4, 2, 3, 2, 3,
//  0  1  2  3  4  5  6  7  8  9  :  ;  <  =  >  ?
    4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 2, 2, 4, 4, 4, 4,
//  @  A  B  C  D  E  F  G  H  I  J  K  L  M  N  O
    6, 5, 5, 5, 5, 5, 4, 5, 5, 2, 4, 4, 4, 6, 5, 5,
//  P  Q  R  S  T  U  V  W  X  Y  Z  [  \  ]  ^  _
    5, 5, 5, 5, 5, 5, 5, 7, 4, 5, 4, 3, 3, 3, 4, 4,
//  `  a  b  c  d  e  f  g  h  i  j  k  l  m  n  o
    3, 4, 4, 4, 4, 4, 2, 4, 4, 2, 2, 4, 2, 5, 4, 4,
//  p  q  r  s  t  u  v  w  x  y  z  {  |  }  ~
    4, 4, 3, 4, 2, 4, 4, 5, 4, 4, 4, 3, 2, 3, 5};
// clang-format on

int dialogTextWidth(const char* text) {
    int width = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); c && *c; ++c)
        width += *c >= 32 && *c <= 126 ? charWidthTable[*c - 32] : 4;
    return width;
}

int visibleLength(const char* text) {
    int length = 0;
    for (const char* c = text; c && *c; ++c)
        length += *c != '&';
    return length;
}
