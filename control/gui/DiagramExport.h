// File > Export Central Station Track Board... and Export Rocrail Plan...: the track diagram
// written for the control station and the control program.
#pragma once

#include <vector>

#include "control/JmriPanel.h"

class LayoutDocument;
class FrameServices;
class TrackGraph;

// Command ids of the diagram's menu items.
enum DiagramCommandId : int {
    kCmdExportBoard = 2075,
    kCmdExportRocrail = 2076,
    kCmdTrackDiagram = 2077,
};

// Adds the two exports after File > Export JMRI Panel... and Layout > Track Diagram... after
// Layout > Addresses..., and binds them.
void BindDiagramCommands(FrameServices& frame);

// The detection sections of the layout's wiring plan, by contact number.
std::vector<DetectionSection> WiringDetectionSections(const LayoutDocument& doc,
                                                      const TrackGraph& graph);
