#include "plot/thick_pens.h"

#include <cassert>

namespace tulmera::plot {

ThickPens::ThickPens(ChartSurface& target, int factor) : target_(target), factor_(factor)
{
    assert(factor >= 1);
}

void ThickPens::SetPenWidth(int pixels)
{
    width_ = pixels;
    ApplyWidth();
}

void ThickPens::SetPenStyle(PenStyle style)
{
    style_ = style;
    target_.SetPenStyle(style);
    ApplyWidth();  // a pen that became dashed draws thin again, and the other way round
}

void ThickPens::ApplyWidth()
{
    target_.SetPenWidth(style_ == PenStyle::Solid ? width_ * factor_ : width_);
}

}  // namespace tulmera::plot
