#pragma once
// The base of the test fixtures that switch a seam for as long as they live. A fixture states
// its seam in apply() and calls it once built; this base puts the seam back when it ends. Scopes
// of one kind nest: leaving an inner one applies the outer one again, leaving the outermost one
// gives the program's own seam back (the fixture's restoreDefault()). Scopes must end in the
// reverse order of their beginning; anything else stops the test run, as a seam left switched
// would spoil every test after it.

#include <QtGlobal>

template <class Fixture> class Scoped {
  public:
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

  protected:
    Scoped() : m_outer(innermost()) { innermost() = static_cast<Fixture*>(this); }
    ~Scoped() {
        if (innermost() != static_cast<Fixture*>(this))
            qFatal("test fixtures ended out of order");
        innermost() = m_outer;
        if (m_outer)
            m_outer->apply();
        else
            Fixture::restoreDefault();
    }

  private:
    static Fixture*& innermost() {
        static Fixture* fixture = nullptr;
        return fixture;
    }
    Fixture* m_outer;
};
