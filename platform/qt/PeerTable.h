#pragma once
// Which peer shows a windowed control and which painter draws a graphic control (internal to the
// widgetset): one table from model class to peer factory and one from model class to painter.
// A control gets what is registered for its own class or, failing that, for its nearest
// registered ancestor, so a memo gets the memo's peer although it is an edit as well, and a
// class the widgetset does not know gets its base class's peer. TWinControl is registered, so
// every windowed control finds a peer.

#include <QPalette>
#include <QRect>

#include <memory>
#include <unordered_map>

#include "vcl/Controls.h"
#include "vcl/Widgetset.h"

class QPainter;

namespace vcl::qt {

class QtPeer;

// Makes the peer of a control of the registered class (or of a class derived from it).
using PeerFactory = std::unique_ptr<QtPeer> (*)(vcl::TWinControl* Control);
// Draws a graphic control at Rect of its parent's widget.
using GraphicPainter = void (*)(QPainter& Painter, const QRect& Rect, vcl::TControl* Control,
                                const QPalette& Palette);

class PeerTable {
public:
    void Add(vcl::TClass Class, PeerFactory Factory) { peers_[Class] = Factory; }
    void AddPainter(vcl::TClass Class, GraphicPainter Painter) { painters_[Class] = Painter; }
    // What is registered for the class or its nearest registered ancestor; null when none is.
    PeerFactory FindPeer(vcl::TClass Class) const;
    GraphicPainter FindPainter(vcl::TClass Class) const;

    // The widgetset's table, filled by the peer units on first use.
    static PeerTable& Get();

private:
    std::unordered_map<vcl::TClass, PeerFactory> peers_;
    std::unordered_map<vcl::TClass, GraphicPainter> painters_;
};

// The peer unit's part of the table. The table calls each of them once, rather than each unit
// registering itself from a static initialiser, which a static library would drop unseen.
void RegisterContainerPeers(PeerTable& Table);  // ContainerPeers.cpp
void RegisterFormPeer(PeerTable& Table);        // FormPeer.cpp
void RegisterStandardPeers(PeerTable& Table);   // StdCtrlPeers.cpp
void RegisterGraphicPainters(PeerTable& Table); // Peers.cpp

// Makes a peer of class Peer for a control the table matched to class Control.
template <class Peer, class Control> std::unique_ptr<QtPeer> MakePeer(vcl::TWinControl* c) {
    return std::make_unique<Peer>(static_cast<Control*>(c));
}

// The peer the table names for the control's class.
std::unique_ptr<vcl::TWinControlPeer> CreateQtPeer(vcl::TWinControl* Control);

} // namespace vcl::qt
