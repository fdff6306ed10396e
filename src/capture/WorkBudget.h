// The work the classification of one copy may do on content that could be crafted to be slow.
// A stage estimates its cost before starting (the estimate errs high) and charges it here: once the
// budget is spent the copy is dropped, and the log says why, rather than keep the capture worker
// busy for minutes.
#pragma once

#include <QtGlobal>

class WorkBudget
{
public:
    // In the HTML importer's steps (one element placed at one level of nesting): about two seconds.
    static constexpr qint64 defaultSteps = 20'000'000;

    explicit WorkBudget(qint64 steps = defaultSteps) : m_left(steps) {}

    // Takes `steps` when they are left; otherwise takes nothing, and the budget counts as spent.
    bool charge(qint64 steps)
    {
        if (m_isSpent || steps > m_left) {
            m_isSpent = true;
            return false;
        }
        m_left -= steps;
        return true;
    }
    bool isSpent() const { return m_isSpent; }

private:
    qint64 m_left;
    bool m_isSpent = false;
};
