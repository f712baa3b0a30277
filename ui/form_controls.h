// The controls of the window, by the names of its layout: what the control
// table and the window share. The window holds them privately; the table
// points into them without knowing the window.
#pragma once

#include <windows.h>

namespace zemlo::ui {

struct FormControls {
  HWND Form1 = nullptr;
  HWND BitBtn1 = nullptr, BitBtn2 = nullptr, BitBtn3 = nullptr;
  HWND PageControl1 = nullptr;
  HWND TabSheet1 = nullptr, TabSheet2 = nullptr, TabSheet3 = nullptr, TabSheet4 = nullptr;
  HWND GroupBox1 = nullptr, GroupBox2 = nullptr, GroupBox3 = nullptr, GroupBox4 = nullptr,
       GroupBox5 = nullptr, GroupBox6 = nullptr, GroupBox7 = nullptr, GroupBox8 = nullptr,
       GroupBox12 = nullptr;
  HWND CheckBox1 = nullptr, CheckBox2 = nullptr, CheckBox3 = nullptr, CheckBox4 = nullptr,
       CheckBox5 = nullptr, CheckBox6 = nullptr, CheckBox7 = nullptr, CheckBox8 = nullptr,
       CheckBox9 = nullptr, CheckBox10 = nullptr, CheckBox11 = nullptr, CheckBox12 = nullptr,
       CheckBox13 = nullptr, CheckBox14 = nullptr, CheckBox15 = nullptr, CheckBox16 = nullptr,
       CheckBox17 = nullptr, CheckBox18 = nullptr, CheckBox19 = nullptr, CheckBox20 = nullptr,
       CheckBox21 = nullptr;
  HWND TrackBar1 = nullptr, TrackBar2 = nullptr, TrackBar3 = nullptr, TrackBar4 = nullptr,
       TrackBar5 = nullptr, TrackBar6 = nullptr, TrackBar7 = nullptr, TrackBar8 = nullptr,
       TrackBar9 = nullptr, TrackBar10 = nullptr, TrackBar11 = nullptr, TrackBar12 = nullptr;
  HWND HLs1 = nullptr, HLs2 = nullptr, HLs3 = nullptr;
  HWND Label1 = nullptr, Label2 = nullptr, Label4 = nullptr, Label5 = nullptr, Label6 = nullptr,
       Label7 = nullptr, Label8 = nullptr, Label9 = nullptr, Label10 = nullptr, Label11 = nullptr,
       Label12 = nullptr, Label13 = nullptr, Label14 = nullptr, Label15 = nullptr;
  HWND LOD1 = nullptr, LOD2 = nullptr, gst = nullptr, gsi = nullptr;
  HWND Help1 = nullptr, Help2 = nullptr, Help3 = nullptr;
  HWND Panel1 = nullptr, Panel2 = nullptr, Bevel2 = nullptr, Image1 = nullptr, Memo1 = nullptr;
};

// A control of the window, as a member.
using ControlField = HWND FormControls::*;

}  // namespace zemlo::ui
