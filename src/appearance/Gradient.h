#pragma once
// The gradient painter: fills a drawing surface with horizontal colour bands across its whole
// inner width, each channel moving band by band from its start level toward one common stop
// level, which it reaches at the surface's inner height. It reaches the surface only through its
// AutoRedraw, ScaleHeight, ScaleWidth and filled-box Line, so a window's client surface, a
// picture box or a recording surface can be painted. It does not decide when to paint.
//
// Its numbers are 16-bit integers with overflow detected; every step is a statement of its own
// and a failing statement is abandoned silently, the next one running (a band that cannot be
// coloured or placed is skipped and the loop goes on).

#include "Surface.h"

#include <QtGlobal>

// Paints bands every ColorBandSize units from StartLine to StopLine, each ColorBandSize \ ModLine
// high below its position. Red, green and blue start at ColorRed, ColorGreen and ColorBlue and
// are divided by MoreR, MoreG and MoreB (clamped to 1..20 and written back) before painting.
// AutoReDrawObj -1 turns the surface's persistent image on, 0 turns it off, anything else leaves
// it. A pitch of 0 paints nothing.
void DrawGradient(Surface& TheObj, qint16& ColorRed, qint16& ColorGreen, qint16& ColorBlue,
                  qint16& ColorStop, qint16& ColorBandSize, qint16& StartLine, qint16& StopLine,
                  qint16& ModLine, qint16& AutoReDrawObj, qint16& MoreR, qint16& MoreG,
                  qint16& MoreB);
