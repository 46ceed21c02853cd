#include "qt/PeerTable.h"

#include "qt/Peers.h"

namespace vcl::qt {

namespace {

template <class Value>
Value Nearest(const std::unordered_map<vcl::TClass, Value>& Map, vcl::TClass Class) {
    for (vcl::TClass c = Class; c; c = c->Parent) {
        auto it = Map.find(c);
        if (it != Map.end()) return it->second;
    }
    return nullptr;
}

} // namespace

PeerFactory PeerTable::FindPeer(vcl::TClass Class) const {
    return Nearest(peers_, Class);
}

GraphicPainter PeerTable::FindPainter(vcl::TClass Class) const {
    return Nearest(painters_, Class);
}

PeerTable& PeerTable::Get() {
    static PeerTable table = [] {
        PeerTable t;
        RegisterContainerPeers(t);
        RegisterFormPeer(t);
        RegisterStandardPeers(t);
        RegisterGraphicPainters(t);
        return t;
    }();
    return table;
}

std::unique_ptr<vcl::TWinControlPeer> CreateQtPeer(vcl::TWinControl* Control) {
    PeerFactory make = PeerTable::Get().FindPeer(Control->ClassType());
    return make ? make(Control) : nullptr;
}

} // namespace vcl::qt
