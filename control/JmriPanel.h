// The layout as a JMRI Layout Editor panel file ("layout-config"): turnouts at their real places,
// plain track as track segments with real arcs, detection sections as blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LayoutDocument;
class TrackGraph;

// A detection section of the wiring plan: its pieces become one block whose occupancy sensor is
// named after the contact number.
struct DetectionSection {
    std::string name;
    int32_t contact = 0;
    std::vector<uint32_t> pieces;
};

struct JmriOptions {
    std::string panelName = "Layout";
    double scale = 0.5;          // panel pixels per millimetre
    double marginPx = 20;        // free border around the track
    std::string turnoutPrefix = "IT";  // system names are prefix + address
    std::string sensorPrefix = "IS";   // occupancy sensors are prefix + contact number
    std::vector<DetectionSection> sections;
};

// Writes the panel file into `xml`: one Layout Editor panel per level (JMRI's panels have no
// layers), each turnout a layout turnout (a three-way turnout two of them, back to back), each
// double slip a layout slip, each crossing a level crossing, each plain piece a track segment
// between anchor points, and each bumper an end bumper. Joints between levels become edge
// connectors linking the two panels. Coordinates are millimetres times options.scale from the
// top left corner of the track, y downwards as on the canvas. False (and `xml` empty) when the
// layout has no track.
bool WriteJmriPanel(const LayoutDocument& doc, const TrackGraph& graph, const JmriOptions& options,
                    std::string& xml);
