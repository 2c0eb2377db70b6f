// Tunnels: which selections can become (or stop being) a tunnel, the toggle, and the tunnel lock.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Translate.h"
#include "model/LayoutDocument.h"

// Scenery item placed at each end of a tunnel.
inline constexpr const char* kTunnelPortalItem = "tunnel_portal_single";

// What the Tunnel tool would do with the current selection; computed on demand, never stored.
struct TunnelAnalysis {
    bool allowed = false;
    bool isTunnel = false;  // the selection is exactly an existing tunnel
    uint32_t tunnelId = kNoId;
    uint32_t pieceA = kNoId;  // end pieces of the chain and their outward connectors
    uint32_t pieceB = kNoId;
    uint32_t connA = kNoId;
    uint32_t connB = kNoId;
    std::vector<uint32_t> chain;  // piece ids, ascending
    bool operator==(const TunnelAnalysis&) const = default;
};

// Analyses the selected pieces: one simple joined chain that overlaps no tunnel may become a
// tunnel; exactly the pieces of an existing tunnel may lose it.
TunnelAnalysis AnalyseTunnel(const LayoutDocument& doc);

// Adds a tunnel over the selected chain, or removes the selected tunnel, with one undo snapshot.
// False when the selection allows neither (nothing changed).
bool ToggleTunnel(LayoutDocument& doc);

// Label of the Tunnel tool for an analysis: "Remove Tunnel" or "Tunnel".
std::string TunnelToolLabel(const TunnelAnalysis& analysis);

// True when the piece lies inside some tunnel, or the scenery item is some tunnel's portal.
bool IsTunnelPiece(const LayoutDocument& doc, uint32_t pieceId);
bool IsTunnelPortal(const LayoutDocument& doc, uint32_t sceneryId);

// Refusal for tunnel track or portals, worded with the operation's verb.
inline constexpr const char* kTunnelLockTitle = TR_NOOP("Tunnel is locked");
std::string TunnelLockMessage(std::string_view verb);
