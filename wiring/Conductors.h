// The conductors of the track as the wiring plan leaves them: which joints the gaps cut, the
// rails of two-rail track as a graph, and the search for a loop that joins one rail to the other.
// Shared by the analysis and the proposals.
#pragma once

#include <cstdint>
#include <vector>

#include "network/TrackGraph.h"
#include "wiring/WiringPlan.h"

// Bits of what a gap cuts.
inline constexpr unsigned kCutCentre = 1;
inline constexpr unsigned kCutLeft = 2;
inline constexpr unsigned kCutRight = 4;
inline constexpr unsigned kCutRails = kCutLeft | kCutRight;

unsigned CutOf(GapRails rails);

// Disjoint sets over 0 .. n - 1.
class UnionFind {
public:
    explicit UnionFind(size_t n);
    int Find(int a);
    void Join(int a, int b);

private:
    std::vector<int> parent;
};

// One joint between two pieces (each joint once), with what the gaps on either side cut, in the
// frame of piece a.
struct ConductorJoint {
    int pieceA = 0, connA = 0;  // piece indices in the graph
    int pieceB = 0, connB = 0;
    int nodeA = -1, nodeB = -1;  // rail nodes; -1 where the rails are not followed
    bool swap = false;           // left of a is right of b
    unsigned cut = 0;
};

// A loop of two-rail track that joins the left rail to the right: from the piece where it closes
// round the loop and back.
struct RailLoop {
    struct Step {
        int piece;  // index in the graph
        int entry;
        int exit;
    };
    int junction = -1;        // piece index where the loop closes
    std::vector<Step> steps;  // the pieces round the loop after the junction, in order
    std::vector<int> joints;  // the joints crossed, junction to junction
};

class Conductors {
public:
    Conductors(const TrackGraph& graph, const WiringPlan& plan);

    const TrackGraph& Graph() const { return graph; }
    const std::vector<ConductorJoint>& Joints() const { return joints; }
    // Connectors followed on the piece: all of a known piece, none of an unknown one.
    int ConnectorCount(int piece) const { return firstSlot[piece + 1] - firstSlot[piece]; }
    // The joint at a connector (index into Joints()), or -1 when it is open or leads to a piece
    // that is not known.
    int JointAt(int piece, int connector) const;
    bool TwoRail(int piece) const { return twoRail[piece]; }
    bool Known(int piece) const { return graph.Pieces()[piece]->def != nullptr; }
    // The rail node of a connector, or -1.
    int NodeOf(int piece, int connector) const;
    // The side of a connector in its node: 0 where travel starts, 1 where it ends.
    int SideOf(int piece, int connector) const;
    int NodeCount() const { return nodeCount; }
    int NodePiece(int node) const { return nodePiece[node]; }
    // The longest route through the piece, in mm (0 for unknown pieces).
    double PieceLength(int piece) const { return lengths[piece]; }

    // A loop that joins the rails with the joints marked in `extraCut` (by joint index; may be
    // empty) cut in both rails as well; false when the rails stay apart.
    bool FindShortLoop(const std::vector<char>& extraCut, RailLoop* loop) const;
    // One such loop for every set of joined rails that holds both rails of a piece.
    std::vector<RailLoop> FindShortLoops(const std::vector<char>& extraCut) const;
    // The rails joined through the uncut joints: terminal 2 * node is a node's left rail,
    // 2 * node + 1 its right rail.
    UnionFind Rails(const std::vector<char>& extraCut) const;

private:
    // The steps of building the conductors, in order.
    void CountSlots();
    void SplitPieceRails();
    std::vector<unsigned> SlotCuts(const WiringPlan& plan) const;
    void JoinSlots(const std::vector<unsigned>& slotCut);
    void BuildRailGraph();

    const TrackGraph& graph;
    std::vector<int> firstSlot;  // per piece: its first connector slot
    std::vector<int> slotNode;
    std::vector<int> slotSide;
    std::vector<int> slotJoint;
    std::vector<int> nodePiece;
    int nodeCount = 0;
    std::vector<char> twoRail;
    std::vector<double> lengths;
    std::vector<ConductorJoint> joints;
    // The rails of two-rail track as a graph over the terminals, without the joints the plan
    // cuts: adjStart[t] .. adjStart[t + 1] in `adjacent`.
    struct RailEdge {
        int to;
        int joint;
        int ownConn;
        int otherConn;
    };
    std::vector<int> adjStart;
    std::vector<RailEdge> adjacent;
};
