#pragma once
// A form's control collection: every control and menu entry of a form, by position, with the
// geometry and font properties reachable by name. Code that works on any form (the layout
// scaler) goes through here. It does not own the controls; a menu entry has no geometry, so
// every access to its geometry fails, as does any access through a position that is out of range.

#include <QObject>
#include <QPointer>
#include <string_view>
#include <vector>

class ControlCollection {
  public:
    void add(QObject* control) { m_controls.emplace_back(control); }
    int Count() const { return static_cast<int>(m_controls.size()); }
    // nullptr when the position is out of range or the control no longer exists.
    QObject* at(int index) const;

    // Property access by name ("Left", "Top", "Width", "Height" in twips; "FontSize" in points).
    // Each returns false when the control lacks the property or refuses the value.
    bool get(int index, std::string_view property, float& value) const;
    bool set(int index, std::string_view property, float value) const;

  private:
    std::vector<QPointer<QObject>> m_controls;
};
