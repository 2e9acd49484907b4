#pragma once

// Tick-driven helpers shared by every page timer. Pages count ticks of their
// own timer; these objects turn "N ticks after the last change" and "ignore
// replies for N ticks" into one call each.

// Fires once, `delay` ticks after the last arm(). Re-arming restarts the count.
class PendingSend
{
public:
    explicit PendingSend(int delay = 5) : m_delay(delay) {}

    void arm() { m_remaining = m_delay; }
    void cancel() { m_remaining = 0; }
    bool isPending() const { return m_remaining > 0; }

    // Advances one tick; returns true on the tick the send is due.
    bool tick()
    {
        if (m_remaining <= 0)
            return false;
        return --m_remaining == 0;
    }

private:
    int m_delay;
    int m_remaining = 0;
};

// While active, replies from the unit are not applied to the controls, so a
// control the operator is moving is not pulled back by stale echoes.
class ReplyHoldOff
{
public:
    explicit ReplyHoldOff(int ticks = 10) : m_ticks(ticks) {}

    void hold() { m_remaining = m_ticks; }
    void release() { m_remaining = 0; }
    bool isActive() const { return m_remaining > 0; }

    void tick()
    {
        if (m_remaining > 0)
            --m_remaining;
    }

private:
    int m_ticks;
    int m_remaining = 0;
};
