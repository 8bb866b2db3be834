#pragma once
#include "CWebShareView.h"

#include <cstdint>
#include <functional>
#include <string>

// A page of this edition's presentation board. Its mode (the flag byte of
// the page) decides how it opens addresses: mode 2 as they are, any other
// mode on the view's own host. Right-button clicks never reach the page,
// and while this user does not present neither do clicks and keys.
class CQuilletBoardView : public CWebShareView
{
public:
    // Whether this user presents, and where a running recording takes an
    // address (none: nothing is recorded).
    struct Hooks
    {
        std::function<bool()> presenting;
        std::function<void(const std::string&)> recordAddress;
    };
    explicit CQuilletBoardView(const Hooks& hooks) : m_hooks(hooks) {}

    // The page's mode and third text; in mode 1 the host becomes the third
    // text's entry for the server this client logged in to.
    void SetMode(uint8_t mode, const std::string& third, const char* server);
    void SetKey(int key) { m_key = key; }
    int Key() const { return m_key; }
    uint8_t Mode() const { return m_mode; }
    const std::string& Host() const { return m_host; }
    const std::string& Third() const { return m_third; }

    // The address a view of this mode and host opens; empty when it opens
    // none (no "://" or no "/" after it). Without a host the address stays
    // as it is.
    static std::string AddressFor(uint8_t mode, const std::string& host,
                                  const std::string& address);
    // Opens the address as the mode says; false when it is not opened.
    bool Open(const std::string& address);
    // A received navigation: its address as the mode says, the rest as sent.
    void ReplayOnHost(uint32_t flags, const std::string& address, const std::string& frame,
                      const std::string& headers, const std::vector<uint8_t>& post);

    // Back to mode 1 without key, host or texts.
    void Release() override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    Hooks m_hooks;
    uint8_t m_mode = 1;
    int m_key = -1;
    std::string m_host;
    std::string m_third;
};
