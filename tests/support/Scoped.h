#pragma once
// The base of the test fixtures that switch a seam for as long as they live. Scopes of one kind
// nest: leaving an inner one puts the outer one's state back, leaving the outermost one puts the
// program's own back. Scopes must end in the reverse order of their beginning; anything else
// stops the test run, as a seam left switched would spoil every test after it.

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
    }
    // The scope this one is nested in, if any.
    Fixture* outer() const { return m_outer; }

  private:
    static Fixture*& innermost() {
        static Fixture* fixture = nullptr;
        return fixture;
    }
    Fixture* m_outer;
};
