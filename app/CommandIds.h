// Fixed command and tool ids of the main window (the standard file and print ids are the toolkit's).
#pragma once

enum CommandId : int {
    kCmd3DView = 2000,
    kCmdSaveBlock = 2001,
    kCmdUndo = 2002,
    kCmdRedo = 2003,
    kCmdDelete = 2004,
    kCmdSelectAll = 2005,
    kCmdZoomIn = 2006,
    kCmdZoomOut = 2007,
    kCmdZoomFit = 2008,
    kCmdShowGrid = 2009,
    kCmdSnap = 2010,
    kCmdLabels = 2011,
    kCmdTunnel = 2012,
    kCmdMeasure = 2013,
    kCmdLayoutShape = 2014,
    kCmdUnitsMm = 2015,
    kCmdUnitsCm = 2016,
    kCmdUnitsInch = 2017,
    kCmdLevels = 2018,
    kCmdValidate = 2019,
    kCmdProperties = 2020,
    kCmdHelp = 2021,
    kCmdCheckLayout = 2022,
    kCmdMyTrack = 2023,
};
