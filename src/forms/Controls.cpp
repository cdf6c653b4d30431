#include "Controls.h"

#include "Twips.h"

#include <QWidget>
#include <cmath>

QObject* ControlCollection::at(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return m_controls[static_cast<size_t>(index)].data();
}

bool ControlCollection::get(int index, std::string_view property, float& value) const {
    auto* w = qobject_cast<QWidget*>(at(index));
    if (!w)
        return false;
    const QRect g = w->geometry();
    if (property == "Left")
        value = static_cast<float>(twips::fromPx(g.x()));
    else if (property == "Top")
        value = static_cast<float>(twips::fromPx(g.y()));
    else if (property == "Width")
        value = static_cast<float>(twips::fromPx(g.width()));
    else if (property == "Height")
        value = static_cast<float>(twips::fromPx(g.height()));
    else if (property == "FontSize")
        value = static_cast<float>(w->font().pointSizeF());
    else
        return false;
    return true;
}

bool ControlCollection::set(int index, std::string_view property, float value) const {
    auto* w = qobject_cast<QWidget*>(at(index));
    if (!w || !std::isfinite(value))
        return false;
    // A size or position far outside what a window can hold is refused, as the toolkit would.
    if (std::fabs(value) > 1.0e7f)
        return false;
    QRect g = w->geometry();
    const int px = twips::toPx(value);
    if (property == "Left")
        g.moveLeft(px);
    else if (property == "Top")
        g.moveTop(px);
    else if (property == "Width") {
        if (px < 0)
            return false;
        g.setWidth(px);
    } else if (property == "Height") {
        if (px < 0)
            return false;
        g.setHeight(px);
    } else if (property == "FontSize") {
        if (value <= 0)
            return false;
        QFont f = w->font();
        f.setPointSizeF(value);
        w->setFont(f);
        return true;
    } else
        return false;
    w->setGeometry(g);
    return true;
}
