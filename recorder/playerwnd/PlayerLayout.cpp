#include "PlayerLayout.h"

namespace {

RECT Rect(LONG l, LONG t, LONG r, LONG b)
{
    RECT rc = {l, t, r, b};
    return rc;
}

} // namespace

PlayerFrameLayout LayOutPlayerFrame(const RECT& a, const PlayerFrameFlags& f)
{
    PlayerFrameLayout out;
    const LONG left = a.left + (f.showVideo ? 205 : 0);
    out.userList = {Rect(a.right - 150, a.top, a.right, a.bottom), true};
    out.tabStrip = {Rect(left, a.top, a.right - 155, a.bottom - (f.showChat ? 80 : 0)),
                    f.showBoard && !f.fullVideo};
    out.chatPane = {Rect(left, f.showBoard ? a.bottom - 77 : a.top, a.right - 155, a.bottom),
                    f.showChat && !f.fullVideo};
    const bool wide = (!f.showBoard && !f.showChat) || f.fullVideo;
    out.videoWall = {Rect(a.left, a.top, wide ? a.right - 150 : a.left + 200, a.bottom),
                     f.showVideo};
    return out;
}

std::vector<VideoCellPlace> LayOutVideoWall(const RECT& a, int mode, int count, int fullIndex)
{
    std::vector<VideoCellPlace> out(count > 0 ? count : 0,
                                    VideoCellPlace{{0, 0, 0, 0}, false, false});
    if (count <= 0)
        return out;
    const LONG L = a.left, T = a.top, R = a.right, B = a.bottom;
    const LONG W = R - L, H = B - T;
    if (fullIndex >= 0 && fullIndex < count) {
        out[fullIndex] = {a, true, true};
        return out;
    }
    if (mode < 1) {
        const LONG h = static_cast<LONG>(W * 0.75);
        for (int i = 0; i < count; ++i) {
            RECT rc = Rect(L, T + i * h, R, T + (i + 1) * h);
            out[i] = {rc, rc.bottom <= B, true};
        }
    } else if (mode == 4 || mode == 9 || mode == 16) {
        const int n = mode == 4 ? 2 : mode == 9 ? 3 : 4;
        const LONG cw = W / n, ch = H / n;
        for (int i = 0; i < count; ++i) {
            const int col = i % n, row = i / n;
            RECT rc = Rect(L + col * cw, T + row * ch, col == n - 1 ? R : L + (col + 1) * cw,
                           row >= n - 1 ? B : T + (row + 1) * ch);
            out[i] = {rc, i < mode, true};
        }
    } else if (mode == 6 || mode == 10 || mode == 12) {
        const int k = mode / 2;
        const LONG cw = W / k, ch = H / k;
        for (int i = 0; i < count; ++i) {
            RECT rc;
            if (i == 0) {
                rc = Rect(L, T, L + (k - 1) * cw, T + (k - 1) * ch);
            } else if (i < k) {
                const int row = i - 1;
                rc = Rect(L + (k - 1) * cw, T + row * ch, R, T + (row + 1) * ch);
            } else if (i < 2 * k) {
                const int col = i - k;
                rc = Rect(L + col * cw, T + (k - 1) * ch, col == k - 1 ? R : L + (col + 1) * cw, B);
            } else {
                continue; // beyond the grid: left where it is
            }
            out[i] = {rc, i < mode, true};
        }
    } else if (mode == 8) {
        const LONG u = W / 6, s = static_cast<LONG>(u * 0.75);
        for (int i = 0; i < count && i < 8; ++i) {
            RECT rc;
            if (i == 0)
                rc = Rect(L, T, L + 3 * u, B - s);
            else if (i == 1)
                rc = Rect(L + 3 * u, T, R, B - s);
            else
                rc = Rect(L + (i - 2) * u, B - s, i == 7 ? R : L + (i - 1) * u, B);
            out[i] = {rc, true, true};
        }
    }
    return out;
}

RECT FitPicture(const RECT& cell)
{
    const LONG w = cell.right - cell.left, h = cell.bottom - cell.top;
    LONG pw = w, ph = h;
    if (h > 0 && w * 3 > h * 4)
        pw = static_cast<LONG>(h * 4.0 / 3.0);
    else
        ph = static_cast<LONG>(w * 0.75);
    RECT rc;
    rc.left = cell.left + (w - pw) / 2;
    rc.top = cell.top + (h - ph) / 2;
    rc.right = rc.left + pw;
    rc.bottom = rc.top + ph;
    return rc;
}
