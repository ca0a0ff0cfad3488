#pragma once

#include "platform/HotKeys.h"

namespace quorx {

// Keys pressed by the test: Press reaches the handler only while the keys are installed, as a
// desktop delivers nothing to a program that has let its keys go.
class FakeHotKeys final : public HotKeys
{
public:
    // The reach an installation gets, as a desktop that grants or refuses global keys would.
    explicit FakeHotKeys(Reach granted = Reach::Global) : m_granted(granted) {}

    Reach Install(Handler handler) override;
    void Uninstall() override;
    Reach CurrentReach() const override { return m_reach; }

    // True when the press reached a handler.
    bool Press(HotKey key);
    int InstallCount() const { return m_installs; }

private:
    Reach m_granted;
    Reach m_reach = Reach::None;
    Handler m_handler;
    int m_installs = 0;
};

} // namespace quorx
