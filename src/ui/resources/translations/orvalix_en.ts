<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DEQWidget</name>
    <message>
        <source>Thresh</source>
        <translation>Thresh</translation>
    </message>
    <message>
        <source>Ratio</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <source>Attack</source>
        <translation>Attack</translation>
    </message>
    <message>
        <source>Decay</source>
        <translation>Decay</translation>
    </message>
    <message>
        <source>Freq</source>
        <translation>Freq</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Q</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>Boost Below</source>
        <translation>Boost Below</translation>
    </message>
    <message>
        <source>Cut Above</source>
        <translation>Cut Above</translation>
    </message>
    <message>
        <source>PEQ</source>
        <translation>PEQ</translation>
    </message>
    <message>
        <source>LowShelf</source>
        <translation>LowShelf</translation>
    </message>
    <message>
        <source>HighShelf</source>
        <translation>HighShelf</translation>
    </message>
    <message>
        <source>Input Channel</source>
        <translation>Input Channel</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>Dynamics</source>
        <translation>Dynamics</translation>
    </message>
    <message>
        <source>Equalizer</source>
        <translation>Equalizer</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Clear all setting?</source>
        <translation>Clear all settings of this channel?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Threshold in dB</source>
        <translation>Threshold in dB</translation>
    </message>
    <message>
        <source>Ratio of the dynamic gain change</source>
        <translation>Ratio of the dynamic gain change</translation>
    </message>
    <message>
        <source>Attack time in milliseconds</source>
        <translation>Attack time in milliseconds</translation>
    </message>
    <message>
        <source>Decay time in milliseconds</source>
        <translation>Decay time in milliseconds</translation>
    </message>
    <message>
        <source>Frequency in Hz</source>
        <translation>Frequency in Hz</translation>
    </message>
    <message>
        <source>Maximum gain in dB</source>
        <translation>Maximum gain in dB</translation>
    </message>
    <message>
        <source>Quality factor: centre frequency over bandwidth</source>
        <translation>Quality factor: centre frequency over bandwidth</translation>
    </message>
    <message>
        <source>%1 threshold knob</source>
        <translation>%1 threshold knob</translation>
    </message>
    <message>
        <source>%1 ratio knob</source>
        <translation>%1 ratio knob</translation>
    </message>
    <message>
        <source>%1 attack knob</source>
        <translation>%1 attack knob</translation>
    </message>
    <message>
        <source>%1 decay knob</source>
        <translation>%1 decay knob</translation>
    </message>
    <message>
        <source>%1 frequency knob</source>
        <translation>%1 frequency knob</translation>
    </message>
    <message>
        <source>%1 gain knob</source>
        <translation>%1 gain knob</translation>
    </message>
    <message>
        <source>%1 Q knob</source>
        <translation>%1 Q knob</translation>
    </message>
    <message>
        <source>%1 threshold in dB</source>
        <translation>%1 threshold in dB</translation>
    </message>
    <message>
        <source>%1 ratio</source>
        <translation>%1 ratio</translation>
    </message>
    <message>
        <source>%1 attack in ms</source>
        <translation>%1 attack in ms</translation>
    </message>
    <message>
        <source>%1 decay in ms</source>
        <translation>%1 decay in ms</translation>
    </message>
    <message>
        <source>%1 frequency in Hz</source>
        <translation>%1 frequency in Hz</translation>
    </message>
    <message>
        <source>%1 gain in dB</source>
        <translation>%1 gain in dB</translation>
    </message>
    <message>
        <source>%1 Q</source>
        <translation>%1 Q</translation>
    </message>
    <message>
        <source>Copy the dynamic EQ of the selected channel to other channels</source>
        <translation>Copy the dynamic EQ of the selected channel to other channels</translation>
    </message>
    <message>
        <source>Reset every band of the selected channel</source>
        <translation>Reset every band of the selected channel</translation>
    </message>
    <message>
        <source>Band %1</source>
        <translation>Band %1</translation>
    </message>
    <message>
        <source>Dynamic EQ response</source>
        <translation>Dynamic EQ response</translation>
    </message>
    <message>
        <source>%1 band %2</source>
        <translation>%1 band %2</translation>
    </message>
    <message>
        <source>%1 enable</source>
        <translation>%1 enable</translation>
    </message>
    <message>
        <source>%1 mode</source>
        <translation>%1 mode</translation>
    </message>
    <message>
        <source>Boost below or cut above the threshold</source>
        <translation>Boost below or cut above the threshold</translation>
    </message>
    <message>
        <source>%1 type</source>
        <translation>%1 type</translation>
    </message>
</context>
<context>
    <name>DelayPage</name>
    <message>
        <source>Millisecond</source>
        <translation>Millisecond</translation>
    </message>
    <message>
        <source>Meters</source>
        <translation>Meters</translation>
    </message>
    <message>
        <source>Feet</source>
        <translation>Feet</translation>
    </message>
    <message>
        <source>%1 delay slider</source>
        <translation>%1 delay slider</translation>
    </message>
    <message>
        <source>Delay in milliseconds</source>
        <translation>Delay in milliseconds</translation>
    </message>
    <message>
        <source>%1 delay in ms</source>
        <translation>%1 delay in ms</translation>
    </message>
    <message>
        <source>%1 delay distance in meters</source>
        <translation>%1 delay distance in meters</translation>
    </message>
    <message>
        <source>%1 delay distance in feet</source>
        <translation>%1 delay distance in feet</translation>
    </message>
</context>
<context>
    <name>FilterPage</name>
    <message>
        <source>Bessel</source>
        <translation>Bessel</translation>
    </message>
    <message>
        <source>Butterworth</source>
        <translation>Butterworth</translation>
    </message>
    <message>
        <source>Link-Riley</source>
        <translation>Linkwitz-Riley</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>High-Pass</source>
        <translation>High-Pass</translation>
    </message>
    <message>
        <source>Low-Pass</source>
        <translation>Low-Pass</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>Slope</translation>
    </message>
    <message>
        <source>Freq(Hz)</source>
        <translation>Freq(Hz)</translation>
    </message>
    <message>
        <source>Parametric EQ</source>
        <translation>Parametric EQ</translation>
    </message>
    <message>
        <source>Gain(dB)</source>
        <translation>Gain(dB)</translation>
    </message>
    <message>
        <source>Q</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>PEQ</source>
        <translation>PEQ</translation>
    </message>
    <message>
        <source>LowShelf</source>
        <translation>LowShelf</translation>
    </message>
    <message>
        <source>HighShelf</source>
        <translation>HighShelf</translation>
    </message>
    <message>
        <source>Allpass</source>
        <translation>Allpass</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Clear all setting?</source>
        <translation>Clear all settings of this channel?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Input Channel</source>
        <translation>Input Channel</translation>
    </message>
    <message>
        <source>Output Channel</source>
        <translation>Output Channel</translation>
    </message>
    <message>
        <source>Frequency in Hz</source>
        <translation>Frequency in Hz</translation>
    </message>
    <message>
        <source>Gain in dB</source>
        <translation>Gain in dB</translation>
    </message>
    <message>
        <source>Quality factor: centre frequency over bandwidth</source>
        <translation>Quality factor: centre frequency over bandwidth</translation>
    </message>
    <message>
        <source>Copy the filters of the selected channel to other channels</source>
        <translation>Copy the filters of the selected channel to other channels</translation>
    </message>
    <message>
        <source>Clear every filter of the selected channel</source>
        <translation>Clear every filter of the selected channel</translation>
    </message>
    <message>
        <source>Band %1</source>
        <translation>Band %1</translation>
    </message>
    <message>
        <source>Filter response</source>
        <translation>Filter response</translation>
    </message>
    <message>
        <source>%1 high-pass</source>
        <translation>%1 high-pass</translation>
    </message>
    <message>
        <source>%1 low-pass</source>
        <translation>%1 low-pass</translation>
    </message>
    <message>
        <source>%1 enable</source>
        <translation>%1 enable</translation>
    </message>
    <message>
        <source>%1 type</source>
        <translation>%1 type</translation>
    </message>
    <message>
        <source>%1 slope</source>
        <translation>%1 slope</translation>
    </message>
    <message>
        <source>Slope in dB per octave</source>
        <translation>Slope in dB per octave</translation>
    </message>
    <message>
        <source>%1 frequency knob</source>
        <translation>%1 frequency knob</translation>
    </message>
    <message>
        <source>%1 frequency in Hz</source>
        <translation>%1 frequency in Hz</translation>
    </message>
    <message>
        <source>%1 band %2</source>
        <translation>%1 band %2</translation>
    </message>
    <message>
        <source>%1 gain knob</source>
        <translation>%1 gain knob</translation>
    </message>
    <message>
        <source>%1 gain in dB</source>
        <translation>%1 gain in dB</translation>
    </message>
    <message>
        <source>%1 Q knob</source>
        <translation>%1 Q knob</translation>
    </message>
    <message>
        <source>%1 Q</source>
        <translation>%1 Q</translation>
    </message>
</context>
<context>
    <name>FirWidget</name>
    <message>
        <source>Low Pass</source>
        <translation>Low Pass</translation>
    </message>
    <message>
        <source>High Pass</source>
        <translation>High Pass</translation>
    </message>
    <message>
        <source>Band Pass</source>
        <translation>Band Pass</translation>
    </message>
    <message>
        <source>External FIR</source>
        <translation>External FIR</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Tukey</source>
        <translation>Tukey</translation>
    </message>
    <message>
        <source>Triangular</source>
        <translation>Triangular</translation>
    </message>
    <message>
        <source>Hanning</source>
        <translation>Hanning</translation>
    </message>
    <message>
        <source>Hamming</source>
        <translation>Hamming</translation>
    </message>
    <message>
        <source>Blackman</source>
        <translation>Blackman</translation>
    </message>
    <message>
        <source>Kaiser</source>
        <translation>Kaiser</translation>
    </message>
    <message>
        <source>Output Channel</source>
        <translation>Output Channel</translation>
    </message>
    <message>
        <source>FIR Type</source>
        <translation>FIR Type</translation>
    </message>
    <message>
        <source>Import external FIR</source>
        <translation>Import external FIR</translation>
    </message>
    <message>
        <source>Taps</source>
        <translation>Taps</translation>
    </message>
    <message>
        <source>Low Freq</source>
        <translation>Low Freq</translation>
    </message>
    <message>
        <source>Freq</source>
        <translation>Freq</translation>
    </message>
    <message>
        <source>High Freq</source>
        <translation>High Freq</translation>
    </message>
    <message>
        <source>(Hz)</source>
        <translation>(Hz)</translation>
    </message>
    <message>
        <source>Window Type</source>
        <translation>Window Type</translation>
    </message>
    <message>
        <source>Kaiser Beta</source>
        <translation>Kaiser Beta</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Update to Device</source>
        <translation>Update to Device</translation>
    </message>
    <message>
        <source>Download and View</source>
        <translation>Download and View</translation>
    </message>
    <message>
        <source>Download and view current settings of the device</source>
        <translation>Download and view current settings of the device</translation>
    </message>
    <message>
        <source>View Current</source>
        <translation>View Current</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>The settings have not been updated to the device! Click to update!</source>
        <translation>The settings have not been sent to the unit. Click to send them.</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Clear all setting?</source>
        <translation>Clear all settings of this channel?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Load External FIR From PC</source>
        <translation>Load External FIR From PC</translation>
    </message>
    <message>
        <source>External FIR File (*.txt)</source>
        <translation>FIR coefficients (*.txt)</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>FIR tap can&apos;t be larger than </source>
        <translation>The number of FIR taps cannot be larger than </translation>
    </message>
    <message>
        <source>External FIR file format error!</source>
        <translation>External FIR file format error.</translation>
    </message>
    <message>
        <source>Import external FIR data and update to device?</source>
        <translation>Import the external FIR data and send it to the unit?</translation>
    </message>
    <message>
        <source>Import FIR From PC</source>
        <translation>Import FIR From PC</translation>
    </message>
    <message>
        <source>FIR File (*.chFIR)</source>
        <translation>FIR design (*.chFIR)</translation>
    </message>
    <message>
        <source>FIR file format error!</source>
        <translation>FIR file format error.</translation>
    </message>
    <message>
        <source>Import FIR and update to device?</source>
        <translation>Import the FIR and send it to the unit?</translation>
    </message>
    <message>
        <source>Export FIR to PC</source>
        <translation>Export FIR to PC</translation>
    </message>
    <message>
        <source>The FIR file could not be written:
%1
%2</source>
        <translation>The FIR file could not be written:
%1
%2</translation>
    </message>
    <message>
        <source>Number of filter taps</source>
        <translation>Number of filter taps</translation>
    </message>
    <message>
        <source>Beta of the Kaiser window</source>
        <translation>Beta of the Kaiser window</translation>
    </message>
    <message>
        <source>FIR response</source>
        <translation>FIR response</translation>
    </message>
    <message>
        <source>%1 FIR type: %2</source>
        <translation>%1 FIR type: %2</translation>
    </message>
    <message>
        <source>%1 FIR taps</source>
        <translation>%1 FIR taps</translation>
    </message>
    <message>
        <source>Frequency in Hz</source>
        <translation>Frequency in Hz</translation>
    </message>
    <message>
        <source>%1 FIR low frequency knob</source>
        <translation>%1 FIR low frequency knob</translation>
    </message>
    <message>
        <source>%1 FIR frequency knob</source>
        <translation>%1 FIR frequency knob</translation>
    </message>
    <message>
        <source>%1 FIR low frequency in Hz</source>
        <translation>%1 FIR low frequency in Hz</translation>
    </message>
    <message>
        <source>%1 FIR frequency in Hz</source>
        <translation>%1 FIR frequency in Hz</translation>
    </message>
    <message>
        <source>%1 FIR high frequency knob</source>
        <translation>%1 FIR high frequency knob</translation>
    </message>
    <message>
        <source>%1 FIR high frequency in Hz</source>
        <translation>%1 FIR high frequency in Hz</translation>
    </message>
    <message>
        <source>%1 FIR window type</source>
        <translation>%1 FIR window type</translation>
    </message>
    <message>
        <source>%1 Kaiser window beta</source>
        <translation>%1 Kaiser window beta</translation>
    </message>
    <message>
        <source>%1 FIR enable</source>
        <translation>%1 FIR enable</translation>
    </message>
</context>
<context>
    <name>FirmwareUpload</name>
    <message>
        <source>sbin Files (*.sbin)</source>
        <translation>ARM firmware image (*.sbin)</translation>
    </message>
    <message>
        <source>ldr Files (*.ldr)</source>
        <translation>DSP firmware image (*.ldr)</translation>
    </message>
    <message>
        <source>Find Files</source>
        <translation>Choose a file</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Bad file format</source>
        <translation>Bad file format</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Cannot read the firmware file:
%1</source>
        <translation>Cannot read the firmware file:
%1</translation>
    </message>
    <message>
        <source>The firmware file is empty.</source>
        <translation>The firmware file is empty.</translation>
    </message>
    <message>
        <source>The firmware file is too large: the unit takes at most %1 bytes.</source>
        <translation>The firmware file is too large: the unit takes at most %1 bytes.</translation>
    </message>
    <message>
        <source>updating...</source>
        <translation>Updating...</translation>
    </message>
    <message>
        <source>The connection to the unit was lost: the firmware upgrade did not finish.</source>
        <translation>The connection to the unit was lost: the firmware upgrade did not finish.</translation>
    </message>
</context>
<context>
    <name>FuncWidget</name>
    <message>
        <source>In Level</source>
        <translation>In Level</translation>
    </message>
    <message>
        <source>Gate</source>
        <translation>Gate</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>In Filter</source>
        <translation>In Filter</translation>
    </message>
    <message>
        <source>DEQ</source>
        <translation>DEQ</translation>
    </message>
    <message>
        <source>In Limiter</source>
        <translation>In Limiter</translation>
    </message>
    <message>
        <source>In Delay</source>
        <translation>In Delay</translation>
    </message>
    <message>
        <source>Matrix</source>
        <translation>Matrix</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Out Level</source>
        <translation>Out Level</translation>
    </message>
    <message>
        <source>FIR Filter</source>
        <translation>FIR Filter</translation>
    </message>
    <message>
        <source>Out Filter</source>
        <translation>Out Filter</translation>
    </message>
    <message>
        <source>Out Limiter</source>
        <translation>Out Limiter</translation>
    </message>
    <message>
        <source>Out Delay</source>
        <translation>Out Delay</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Preset</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Security</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Can not write the file:
%1</source>
        <translation>Cannot write the file:
%1</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Offline Save</source>
        <translation>Offline Save</translation>
    </message>
    <message>
        <source>The settings were saved to %1.</source>
        <translation>The settings were saved to %1.</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>The preset file was loaded except for these filter settings, which it holds in a form this program cannot show; they keep their current values:
%1</source>
        <translation>The preset file was loaded except for these filter settings, which it holds in a form this program cannot show; they keep their current values:
%1</translation>
    </message>
    <message>
        <source>Output %1</source>
        <translation>Output %1</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Input %1</translation>
    </message>
    <message>
        <source>%1 high-pass</source>
        <translation>%1 high-pass</translation>
    </message>
    <message>
        <source>%1 low-pass</source>
        <translation>%1 low-pass</translation>
    </message>
    <message>
        <source>%1 band %2</source>
        <translation>%1 band %2</translation>
    </message>
</context>
<context>
    <name>HistoryDock</name>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Back to the state at connect...</source>
        <translation>Back to the state at connect...</translation>
    </message>
    <message>
        <source>Send to unit...</source>
        <translation>Send to unit...</translation>
    </message>
    <message>
        <source>Back to connect</source>
        <translation>Back to connect</translation>
    </message>
    <message>
        <source>&lt;state at connect&gt;</source>
        <translation>&lt;state at connect&gt;</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>Cannot undo: %1</source>
        <translation>Cannot undo: %1</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>LevelPage</name>
    <message>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Analog</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>AES</source>
        <translation>AES</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Gain(dB)</source>
        <translation>Gain(dB)</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>%1 and %2 source</source>
        <translation>%1 and %2 source</translation>
    </message>
    <message>
        <source>Input source of the pair: analog or AES digital</source>
        <translation>Input source of the pair: analog or AES digital</translation>
    </message>
    <message>
        <source>Gain in dB</source>
        <translation>Gain in dB</translation>
    </message>
    <message>
        <source>%1 link group</source>
        <translation>%1 link group</translation>
    </message>
    <message>
        <source>Link group: channels of one group follow each other</source>
        <translation>Link group: channels of one group follow each other</translation>
    </message>
    <message>
        <source>%1 gain in dB</source>
        <translation>%1 gain in dB</translation>
    </message>
    <message>
        <source>%1 gain fader</source>
        <translation>%1 gain fader</translation>
    </message>
    <message>
        <source>%1 mute</source>
        <translation>%1 mute</translation>
    </message>
    <message>
        <source>%1 polarity invert</source>
        <translation>%1 polarity invert</translation>
    </message>
    <message>
        <source>Invert the polarity</source>
        <translation>Invert the polarity</translation>
    </message>
</context>
<context>
    <name>LimiterPage</name>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Clear all setting?</source>
        <translation>Clear all settings of this channel?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Input Channel</source>
        <translation>Input Channel</translation>
    </message>
    <message>
        <source>Output Channel</source>
        <translation>Output Channel</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>G-R</source>
        <translation>G-R</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Thresh(dB)</source>
        <translation>Thresh(dB)</translation>
    </message>
    <message>
        <source>Ratio</source>
        <translation>Ratio</translation>
    </message>
    <message>
        <source>Attack(ms)</source>
        <translation>Attack(ms)</translation>
    </message>
    <message>
        <source>Decay(ms)</source>
        <translation>Decay(ms)</translation>
    </message>
    <message>
        <source>Gain reduction in dB</source>
        <translation>Gain reduction in dB</translation>
    </message>
    <message>
        <source>Threshold in dB</source>
        <translation>Threshold in dB</translation>
    </message>
    <message>
        <source>Compression ratio (n:1)</source>
        <translation>Compression ratio (n:1)</translation>
    </message>
    <message>
        <source>Attack time in milliseconds</source>
        <translation>Attack time in milliseconds</translation>
    </message>
    <message>
        <source>Decay time in milliseconds</source>
        <translation>Decay time in milliseconds</translation>
    </message>
    <message>
        <source>Edit %1</source>
        <translation>Edit %1</translation>
    </message>
    <message>
        <source>Copy %1 to other channels</source>
        <translation>Copy %1 to other channels</translation>
    </message>
    <message>
        <source>Reset %1</source>
        <translation>Reset %1</translation>
    </message>
    <message>
        <source>%1 limiter enable</source>
        <translation>%1 limiter enable</translation>
    </message>
    <message>
        <source>%1 threshold knob</source>
        <translation>%1 threshold knob</translation>
    </message>
    <message>
        <source>%1 threshold in dB</source>
        <translation>%1 threshold in dB</translation>
    </message>
    <message>
        <source>%1 ratio knob</source>
        <translation>%1 ratio knob</translation>
    </message>
    <message>
        <source>%1 ratio</source>
        <translation>%1 ratio</translation>
    </message>
    <message>
        <source>%1 attack knob</source>
        <translation>%1 attack knob</translation>
    </message>
    <message>
        <source>%1 attack in ms</source>
        <translation>%1 attack in ms</translation>
    </message>
    <message>
        <source>%1 decay knob</source>
        <translation>%1 decay knob</translation>
    </message>
    <message>
        <source>%1 decay in ms</source>
        <translation>%1 decay in ms</translation>
    </message>
</context>
<context>
    <name>LinkBanner</name>
    <message>
        <source>Offline: no unit is connected. Changes are kept in this window and are not sent to a unit.</source>
        <translation>Offline: no unit is connected. Changes are kept in this window and are not sent to a unit.</translation>
    </message>
    <message>
        <source>Not logged in: changes on the pages still reach the unit, but firmware updates, passwords and the factory reset need the login.</source>
        <translation>Not logged in: changes on the pages still reach the unit, but firmware updates, passwords and the factory reset need the login.</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QCail</name>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Reset system all config?</source>
        <translation>Reset the whole configuration of the unit?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>Input Link</source>
        <translation>Input Link</translation>
    </message>
    <message>
        <source>Output Link</source>
        <translation>Output Link</translation>
    </message>
    <message>
        <source>Mix</source>
        <translation>Mix</translation>
    </message>
    <message>
        <source>System 
Reset</source>
        <translation>System 
Reset</translation>
    </message>
    <message>
        <source>Move every input trim together</source>
        <translation>Move every input trim together</translation>
    </message>
    <message>
        <source>Move every output trim together</source>
        <translation>Move every output trim together</translation>
    </message>
    <message>
        <source>Route every input to every output, or none</source>
        <translation>Route every input to every output, or none</translation>
    </message>
    <message>
        <source>System Reset</source>
        <translation>System Reset</translation>
    </message>
    <message>
        <source>Reset the whole configuration of the unit</source>
        <translation>Reset the whole configuration of the unit</translation>
    </message>
    <message>
        <source>Calibration trim in dB</source>
        <translation>Calibration trim in dB</translation>
    </message>
    <message>
        <source>%1 trim in dB</source>
        <translation>%1 trim in dB</translation>
    </message>
    <message>
        <source>%1 trim fader</source>
        <translation>%1 trim fader</translation>
    </message>
</context>
<context>
    <name>QChannelSelect</name>
    <message>
        <source>Select Channel</source>
        <translation>Select Channel</translation>
    </message>
    <message>
        <source>Input channel</source>
        <translation>Input channel</translation>
    </message>
    <message>
        <source>Output channel</source>
        <translation>Output channel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Input %1</translation>
    </message>
    <message>
        <source>Output %1</source>
        <translation>Output %1</translation>
    </message>
</context>
<context>
    <name>QDevTable</name>
    <message>
        <source>Device list</source>
        <translation>Device list</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP Address</translation>
    </message>
    <message>
        <source>Device Model</source>
        <translation>Device Model</translation>
    </message>
    <message>
        <source>ARM Ver</source>
        <translation>ARM Ver</translation>
    </message>
    <message>
        <source>DSP Ver</source>
        <translation>DSP Ver</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Device SN</source>
        <translation>Device SN</translation>
    </message>
    <message>
        <source>Link Status</source>
        <translation>Link Status</translation>
    </message>
    <message>
        <source>Runing Time</source>
        <translation>Running Time</translation>
    </message>
    <message>
        <source>Total Time</source>
        <translation>Total Time</translation>
    </message>
    <message>
        <source>Device ID</source>
        <translation>Device ID</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Connection Timeout</source>
        <translation>Connection Timeout</translation>
    </message>
    <message>
        <source>* The connection timed out!
* Please check the network connection!
* Please make sure that the PC and the device are on the same subnet!
* Please make sure that there is no other IP conflicting with the device IP!
  You can try to modify the PC&apos;s IP or device IP.
  Right-click the mouse to select the device, you can modify its IP.</source>
        <translation>* The connection timed out.
* Please check the network connection.
* Make sure that the PC and the unit are on the same subnet.
* Make sure that no other device uses the unit&apos;s IP address.
  You can change the PC&apos;s IP address or the unit&apos;s.
  Right-click the unit in the device list to change its IP address.</translation>
    </message>
    <message>
        <source>Modify device IP immediately</source>
        <translation>Change the unit&apos;s IP address now</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Do not remind again</source>
        <translation>Do not remind me again</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>Unconnected</source>
        <translation>Unconnected</translation>
    </message>
    <message>
        <source>Cannot open database</source>
        <translation>Cannot open the database</translation>
    </message>
    <message>
        <source>Unable to establish a database connection.
This example needs SQLite support. Please read the Qt SQL driver documentation for information how to build it.

Click Cancel to exit.</source>
        <translation>Cannot open the device database.
The application needs the SQLite driver of Qt SQL.

Click Cancel to exit.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ip Settings</source>
        <translation>IP Settings</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Invalid IP address or subnet mask. Nothing was sent to the device.</source>
        <translation>Invalid IP address or subnet mask. Nothing was sent to the device.</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Add Device</translation>
    </message>
    <message>
        <source>Known devices</source>
        <translation>Known devices</translation>
    </message>
    <message>
        <source>Device columns</source>
        <translation>Device columns</translation>
    </message>
    <message>
        <source>Device numbers</source>
        <translation>Device numbers</translation>
    </message>
    <message>
        <source>Device table corner</source>
        <translation>Device table corner</translation>
    </message>
    <message>
        <source>Delete device %1 (%2)</source>
        <translation>Delete device %1 (%2)</translation>
    </message>
</context>
<context>
    <name>QDeviceItem</name>
    <message>
        <source>IP Setting</source>
        <translation>IP Settings</translation>
    </message>
    <message>
        <source>Remove Device</source>
        <translation>Remove Device</translation>
    </message>
    <message>
        <source>Device at %1</source>
        <translation>Device at %1</translation>
    </message>
    <message>
        <source>Device %1 at %2</source>
        <translation>Device %1 at %2</translation>
    </message>
    <message>
        <source>Device at %1 fault</source>
        <translation>Device at %1 fault</translation>
    </message>
    <message>
        <source>Device at %1 online</source>
        <translation>Device at %1 online</translation>
    </message>
    <message>
        <source>online</source>
        <translation>online</translation>
    </message>
    <message>
        <source>offline</source>
        <translation>offline</translation>
    </message>
    <message>
        <source>fault</source>
        <translation>fault</translation>
    </message>
</context>
<context>
    <name>QFeedback</name>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>%1 feedback suppressor enable</source>
        <translation>%1 feedback suppressor enable</translation>
    </message>
</context>
<context>
    <name>QGate</name>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Thresh(dB)</source>
        <translation>Thresh(dB)</translation>
    </message>
    <message>
        <source>Attack(ms)</source>
        <translation>Attack(ms)</translation>
    </message>
    <message>
        <source>Decay(ms)</source>
        <translation>Decay(ms)</translation>
    </message>
    <message>
        <source>Threshold in dB</source>
        <translation>Threshold in dB</translation>
    </message>
    <message>
        <source>Attack time in milliseconds</source>
        <translation>Attack time in milliseconds</translation>
    </message>
    <message>
        <source>Decay time in milliseconds</source>
        <translation>Decay time in milliseconds</translation>
    </message>
    <message>
        <source>%1 gate enable</source>
        <translation>%1 gate enable</translation>
    </message>
    <message>
        <source>%1 gate threshold knob</source>
        <translation>%1 gate threshold knob</translation>
    </message>
    <message>
        <source>%1 gate threshold in dB</source>
        <translation>%1 gate threshold in dB</translation>
    </message>
    <message>
        <source>%1 gate attack knob</source>
        <translation>%1 gate attack knob</translation>
    </message>
    <message>
        <source>%1 gate attack in ms</source>
        <translation>%1 gate attack in ms</translation>
    </message>
    <message>
        <source>%1 gate decay knob</source>
        <translation>%1 gate decay knob</translation>
    </message>
    <message>
        <source>%1 gate decay in ms</source>
        <translation>%1 gate decay in ms</translation>
    </message>
</context>
<context>
    <name>QIpSetting</name>
    <message>
        <source>ip Settings</source>
        <translation>IP Settings</translation>
    </message>
    <message>
        <source>IP addr :</source>
        <translation>IP address :</translation>
    </message>
    <message>
        <source>Subnet :</source>
        <translation>Subnet :</translation>
    </message>
    <message>
        <source>Gateway :</source>
        <translation>Gateway :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>Subnet mask</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Enter a valid IPv4 address for the device, such as 192.168.1.100.</source>
        <translation>Enter a valid IPv4 address for the device, such as 192.168.1.100.</translation>
    </message>
    <message>
        <source>Enter a valid subnet mask, such as 255.255.255.0.</source>
        <translation>Enter a valid subnet mask, such as 255.255.255.0.</translation>
    </message>
    <message>
        <source>The gateway must be an address in the device&apos;s subnet, or 0.0.0.0 for none.</source>
        <translation>The gateway must be an address in the device&apos;s subnet, or 0.0.0.0 for none.</translation>
    </message>
</context>
<context>
    <name>QLock</name>
    <message>
        <source>Free</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>Read-only</source>
        <translation>Read-only</translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation>Hidden</translation>
    </message>
</context>
<context>
    <name>QLogin</name>
    <message>
        <source>Login</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Wrong password: the unit refused it.</source>
        <translation>Wrong password: the unit refused it.</translation>
    </message>
</context>
<context>
    <name>QMixer</name>
    <message>
        <source>Gain(dB)</source>
        <translation>Gain(dB)</translation>
    </message>
    <message>
        <source>All Mix</source>
        <translation>All Mix</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Enable all mixer and set their value to 0dB?</source>
        <translation>Switch every cross-point on and set it to 0 dB?</translation>
    </message>
    <message>
        <source>Disable all mixer and set their value to 0dB?</source>
        <translation>Switch every cross-point off and set it to 0 dB?</translation>
    </message>
    <message>
        <source>Gain in dB</source>
        <translation>Gain in dB</translation>
    </message>
    <message>
        <source>Switch every cross-point on at 0 dB</source>
        <translation>Switch every cross-point on at 0 dB</translation>
    </message>
    <message>
        <source>Reset mixer</source>
        <translation>Reset mixer</translation>
    </message>
    <message>
        <source>Switch every cross-point off at 0 dB</source>
        <translation>Switch every cross-point off at 0 dB</translation>
    </message>
    <message>
        <source>Double-click to switch on or off; from the keyboard, use the input&apos;s Enable</source>
        <translation>Double-click to switch on or off; from the keyboard, use the input&apos;s Enable</translation>
    </message>
    <message>
        <source>%1 to %2 cross-point</source>
        <translation>%1 to %2 cross-point</translation>
    </message>
    <message>
        <source>%1 to %2 gain in dB</source>
        <translation>%1 to %2 gain in dB</translation>
    </message>
    <message>
        <source>%1 to %2 gain fader</source>
        <translation>%1 to %2 gain fader</translation>
    </message>
    <message>
        <source>%1 to %2 enable</source>
        <translation>%1 to %2 enable</translation>
    </message>
</context>
<context>
    <name>QOEMTool</name>
    <message>
        <source>Factory Setup</source>
        <translation>Factory Setup</translation>
    </message>
    <message>
        <source>Channel Cfg :</source>
        <translation>Channel Cfg :</translation>
    </message>
    <message>
        <source>LCD Line%1 :</source>
        <translation>LCD Line%1 :</translation>
    </message>
    <message>
        <source>Model :</source>
        <translation>Model :</translation>
    </message>
    <message>
        <source>SN :</source>
        <translation>SN :</translation>
    </message>
    <message>
        <source>DSP Model :</source>
        <translation>DSP Model :</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>Channel configuration: inputs and outputs</source>
        <translation>Channel configuration: inputs and outputs</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>Number of inputs</source>
        <translation>Number of inputs</translation>
    </message>
    <message>
        <source>Number of outputs</source>
        <translation>Number of outputs</translation>
    </message>
    <message>
        <source>LCD line %1</source>
        <translation>LCD line %1</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>DSP model</source>
        <translation>DSP model</translation>
    </message>
</context>
<context>
    <name>QOverView</name>
    <message>
        <source>Model :</source>
        <translation>Model :</translation>
    </message>
    <message>
        <source>Loca :</source>
        <translation>Location :</translation>
    </message>
    <message>
        <source>IPAddr :</source>
        <translation>IP address :</translation>
    </message>
    <message>
        <source>Desc :</source>
        <translation>Desc :</translation>
    </message>
    <message>
        <source>ARM Ver :</source>
        <translation>ARM Ver :</translation>
    </message>
    <message>
        <source>State :</source>
        <translation>State :</translation>
    </message>
    <message>
        <source>DSP Ver :</source>
        <translation>DSP Ver :</translation>
    </message>
    <message>
        <source>DSP :</source>
        <translation>DSP :</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>dB</translation>
    </message>
    <message>
        <source>Comp</source>
        <translation>Comp</translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation>Ctrl+M</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>Unconnected</source>
        <translation>Unconnected</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>ARM firmware version</source>
        <translation>ARM firmware version</translation>
    </message>
    <message>
        <source>Connection state</source>
        <translation>Connection state</translation>
    </message>
    <message>
        <source>DSP firmware version</source>
        <translation>DSP firmware version</translation>
    </message>
    <message>
        <source>DSP load: usage and peak</source>
        <translation>DSP load: usage and peak</translation>
    </message>
    <message>
        <source>Level in dB</source>
        <translation>Level in dB</translation>
    </message>
    <message>
        <source>Compressor gain reduction in dB</source>
        <translation>Compressor gain reduction in dB</translation>
    </message>
    <message>
        <source>%1 mute</source>
        <translation>%1 mute</translation>
    </message>
    <message>
        <source>Mute all</source>
        <translation>Mute all</translation>
    </message>
    <message>
        <source>Mute every input and output</source>
        <translation>Mute every input and output</translation>
    </message>
</context>
<context>
    <name>QPreset</name>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Recall</source>
        <translation>Recall</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Import All</source>
        <translation>Import All</translation>
    </message>
    <message>
        <source>Export All</source>
        <translation>Export All</translation>
    </message>
    <message>
        <source>Offline Save</source>
        <translation>Offline Save</translation>
    </message>
    <message>
        <source>Offline Import</source>
        <translation>Offline Import</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Save preset?</source>
        <translation>Save preset?</translation>
    </message>
    <message>
        <source>Recall preset?</source>
        <translation>Recall preset?</translation>
    </message>
    <message>
        <source>Erase preset?</source>
        <translation>Delete preset?</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Preset</translation>
    </message>
    <message>
        <source>The preset name&apos;s length can not be greater than 16 bytes, please enter again!</source>
        <translation>A preset name can have at most 16 bytes. Please enter it again.</translation>
    </message>
    <message>
        <source>pst Files</source>
        <translation>Preset files</translation>
    </message>
    <message>
        <source>pst Files (*.pst1)</source>
        <translation>Unit preset (*.pst1)</translation>
    </message>
    <message>
        <source>pst Files (*.pst)</source>
        <translation>All presets of a unit (*.pst)</translation>
    </message>
    <message>
        <source>SHARC21488_48K (*.pst1)</source>
        <translation>48 kHz unit preset (*.pst1)</translation>
    </message>
    <message>
        <source>SHARC21489_96K (*.pst1)</source>
        <translation>96 kHz unit preset (*.pst1)</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Can not read the file:
%1</source>
        <translation>Cannot read the file:
%1</translation>
    </message>
    <message>
        <source>preset file format error!</source>
        <translation>Preset file format error.</translation>
    </message>
    <message>
        <source>Export to PC...</source>
        <translation>Export to PC...</translation>
    </message>
    <message>
        <source>Can not write the file:
%1</source>
        <translation>Cannot write the file:
%1</translation>
    </message>
    <message>
        <source>The unit stopped the transfer before the end.</source>
        <translation>The unit stopped the transfer before the end.</translation>
    </message>
    <message>
        <source>The preset image is too large to be transferred.</source>
        <translation>The preset image is too large to be transferred.</translation>
    </message>
    <message>
        <source>Import from PC...</source>
        <translation>Import from PC...</translation>
    </message>
    <message>
        <source>The connection to the unit was lost: the transfer did not finish.</source>
        <translation>The connection to the unit was lost: the transfer did not finish.</translation>
    </message>
    <message>
        <source>Preset %1 name</source>
        <translation>Preset %1 name</translation>
    </message>
    <message>
        <source>Preset %1 save</source>
        <translation>Preset %1 save</translation>
    </message>
    <message>
        <source>Save the unit&apos;s current settings into this preset</source>
        <translation>Save the unit&apos;s current settings into this preset</translation>
    </message>
    <message>
        <source>Preset %1 recall</source>
        <translation>Preset %1 recall</translation>
    </message>
    <message>
        <source>Preset %1 import</source>
        <translation>Preset %1 import</translation>
    </message>
    <message>
        <source>Copy a preset file from the PC into this preset</source>
        <translation>Copy a preset file from the PC into this preset</translation>
    </message>
    <message>
        <source>Preset %1 export</source>
        <translation>Preset %1 export</translation>
    </message>
    <message>
        <source>Copy this preset to a file on the PC</source>
        <translation>Copy this preset to a file on the PC</translation>
    </message>
    <message>
        <source>Preset %1 delete</source>
        <translation>Preset %1 delete</translation>
    </message>
    <message>
        <source>Copy an all-presets file from the PC into the unit</source>
        <translation>Copy an all-presets file from the PC into the unit</translation>
    </message>
    <message>
        <source>Copy every preset of the unit to a file on the PC</source>
        <translation>Copy every preset of the unit to a file on the PC</translation>
    </message>
    <message>
        <source>Save the current settings to a file on the PC</source>
        <translation>Save the current settings to a file on the PC</translation>
    </message>
    <message>
        <source>Load settings from a file on the PC into the pages</source>
        <translation>Load settings from a file on the PC into the pages</translation>
    </message>
    <message>
        <source>Preset slots</source>
        <translation>Preset slots</translation>
    </message>
    <message>
        <source>Preset columns</source>
        <translation>Preset columns</translation>
    </message>
    <message>
        <source>Preset numbers</source>
        <translation>Preset numbers</translation>
    </message>
    <message>
        <source>Preset table corner</source>
        <translation>Preset table corner</translation>
    </message>
    <message>
        <source>Preset %1</source>
        <translation>Preset %1</translation>
    </message>
    <message>
        <source>Preset %1 &quot;%2&quot;</source>
        <translation>Preset %1 &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Replace this preset with %1?</source>
        <translation>Replace this preset with %1?</translation>
    </message>
    <message>
        <source>Replace every preset of the unit with the presets of %1?</source>
        <translation>Replace every preset of the unit with the presets of %1?</translation>
    </message>
    <message>
        <source>Replace the settings of every page with those of %1?</source>
        <translation>Replace the settings of every page with those of %1?</translation>
    </message>
    <message>
        <source>An offline preset file has %1 bytes (48 kHz unit) or %2 bytes (96 kHz unit).</source>
        <translation>An offline preset file has %1 bytes (48 kHz unit) or %2 bytes (96 kHz unit).</translation>
    </message>
</context>
<context>
    <name>QPwdModDialog</name>
    <message>
        <source>Modify password</source>
        <translation>Modify password</translation>
    </message>
    <message>
        <source>New password :</source>
        <translation>New password :</translation>
    </message>
    <message>
        <source>Confirm :</source>
        <translation>Confirm :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>New password</source>
        <translation>New password</translation>
    </message>
    <message>
        <source>Confirm new password</source>
        <translation>Confirm new password</translation>
    </message>
</context>
<context>
    <name>QSecurity</name>
    <message>
        <source>InLevel</source>
        <translation>InLevel</translation>
    </message>
    <message>
        <source>Gate</source>
        <translation>Gate</translation>
    </message>
    <message>
        <source>FeedBack</source>
        <translation>FeedBack</translation>
    </message>
    <message>
        <source>InDEQ</source>
        <translation>InDEQ</translation>
    </message>
    <message>
        <source>InLimiter</source>
        <translation>InLimiter</translation>
    </message>
    <message>
        <source>InDelay</source>
        <translation>InDelay</translation>
    </message>
    <message>
        <source>MixMtx</source>
        <translation>MixMtx</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>OutLevel</source>
        <translation>OutLevel</translation>
    </message>
    <message>
        <source>OutFIR</source>
        <translation>OutFIR</translation>
    </message>
    <message>
        <source>OutLimiter</source>
        <translation>OutLimiter</translation>
    </message>
    <message>
        <source>OutDelay</source>
        <translation>OutDelay</translation>
    </message>
    <message>
        <source>InFilter</source>
        <translation>InFilter</translation>
    </message>
    <message>
        <source>OutFilter</source>
        <translation>OutFilter</translation>
    </message>
    <message>
        <source>Legend</source>
        <translation>Legend</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Password :</source>
        <translation>Password :</translation>
    </message>
    <message>
        <source>Parametric EQ</source>
        <translation>Parametric EQ</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>HPF</source>
        <translation>HPF</translation>
    </message>
    <message>
        <source>LPF</source>
        <translation>LPF</translation>
    </message>
    <message>
        <source>Lock password</source>
        <translation>Lock password</translation>
    </message>
    <message>
        <source>High-pass filter</source>
        <translation>High-pass filter</translation>
    </message>
    <message>
        <source>Low-pass filter</source>
        <translation>Low-pass filter</translation>
    </message>
    <message>
        <source>Wrong lock password</source>
        <translation>Wrong lock password</translation>
    </message>
</context>
<context>
    <name>QSetup</name>
    <message>
        <source>Polling</source>
        <translation>Polling</translation>
    </message>
    <message>
        <source>Fixed on model</source>
        <translation>Fixed on model</translation>
    </message>
    <message>
        <source>Fixed on IP address</source>
        <translation>Fixed on IP address</translation>
    </message>
    <message>
        <source>Fixed on location</source>
        <translation>Fixed on location</translation>
    </message>
    <message>
        <source>Fixed on description</source>
        <translation>Fixed on description</translation>
    </message>
    <message>
        <source>Fixed on preset</source>
        <translation>Fixed on preset</translation>
    </message>
    <message>
        <source>Fixed on run time</source>
        <translation>Fixed on run time</translation>
    </message>
    <message>
        <source>Model :</source>
        <translation>Model :</translation>
    </message>
    <message>
        <source>ARM Ver :</source>
        <translation>ARM Ver :</translation>
    </message>
    <message>
        <source>DSP Ver :</source>
        <translation>DSP Ver :</translation>
    </message>
    <message>
        <source>SN :</source>
        <translation>SN :</translation>
    </message>
    <message>
        <source>Location :</source>
        <translation>Location :</translation>
    </message>
    <message>
        <source>Description :</source>
        <translation>Description :</translation>
    </message>
    <message>
        <source>Device ID :</source>
        <translation>Device ID :</translation>
    </message>
    <message>
        <source>Boot counts :</source>
        <translation>Boot count :</translation>
    </message>
    <message>
        <source>CPU Temp :</source>
        <translation>CPU Temp :</translation>
    </message>
    <message>
        <source>Channel Cfg :</source>
        <translation>Channel Cfg :</translation>
    </message>
    <message>
        <source>Run time :</source>
        <translation>Run time :</translation>
    </message>
    <message>
        <source>Total time :</source>
        <translation>Total time :</translation>
    </message>
    <message>
        <source>Code :</source>
        <translation>Code :</translation>
    </message>
    <message>
        <source>Panel Lock :</source>
        <translation>Panel Lock :</translation>
    </message>
    <message>
        <source>LCD Page :</source>
        <translation>LCD Page :</translation>
    </message>
    <message>
        <source>IP address :</source>
        <translation>IP address :</translation>
    </message>
    <message>
        <source>Subnet mask :</source>
        <translation>Subnet mask :</translation>
    </message>
    <message>
        <source>Gateway :</source>
        <translation>Gateway :</translation>
    </message>
    <message>
        <source>DSP :</source>
        <translation>DSP :</translation>
    </message>
    <message>
        <source>Flash :</source>
        <translation>Flash :</translation>
    </message>
    <message>
        <source>DAC :</source>
        <translation>DAC :</translation>
    </message>
    <message>
        <source>Temp :</source>
        <translation>Temp :</translation>
    </message>
    <message>
        <source>Input Label</source>
        <translation>Input Label</translation>
    </message>
    <message>
        <source>Output Label</source>
        <translation>Output Label</translation>
    </message>
    <message>
        <source>Device Infomation</source>
        <translation>Device Information</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>Fault</source>
        <translation>Fault</translation>
    </message>
    <message>
        <source>IN</source>
        <translation>IN</translation>
    </message>
    <message>
        <source>OUT</source>
        <translation>OUT</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Find Files</source>
        <translation>Choose a file</translation>
    </message>
    <message>
        <source>bin Files (*.bin)</source>
        <translation>ARM firmware binary (*.bin)</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Cannot read the file %1.</source>
        <translation>Cannot read the file %1.</translation>
    </message>
    <message>
        <source>Cannot write the file %1.</source>
        <translation>Cannot write the file %1.</translation>
    </message>
    <message>
        <source>ARM firmware version</source>
        <translation>ARM firmware version</translation>
    </message>
    <message>
        <source>DSP firmware version</source>
        <translation>DSP firmware version</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>CPU temperature</source>
        <translation>CPU temperature</translation>
    </message>
    <message>
        <source>Channel configuration: inputs and outputs</source>
        <translation>Channel configuration: inputs and outputs</translation>
    </message>
    <message>
        <source>What the front-panel display shows</source>
        <translation>What the front-panel display shows</translation>
    </message>
    <message>
        <source>Lock the front-panel keys of the unit</source>
        <translation>Lock the front-panel keys of the unit</translation>
    </message>
    <message>
        <source>DSP fault</source>
        <translation>DSP fault</translation>
    </message>
    <message>
        <source>Flash memory fault</source>
        <translation>Flash memory fault</translation>
    </message>
    <message>
        <source>Digital-to-analogue converter fault</source>
        <translation>Digital-to-analogue converter fault</translation>
    </message>
    <message>
        <source>Over-temperature fault</source>
        <translation>Over-temperature fault</translation>
    </message>
    <message>
        <source>%1 label</source>
        <translation>%1 label</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Panel lock</source>
        <translation>Panel lock</translation>
    </message>
    <message>
        <source>LCD page</source>
        <translation>LCD page</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>Subnet mask</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
</context>
<context>
    <name>QSigGenerator</name>
    <message>
        <source>Freq(Hz)</source>
        <translation>Freq(Hz)</translation>
    </message>
    <message>
        <source>Gain(dB)</source>
        <translation>Gain(dB)</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Output Channel</source>
        <translation>Output Channel</translation>
    </message>
    <message>
        <source>PinkNoise</source>
        <translation>Pink noise</translation>
    </message>
    <message>
        <source>Sine</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>WhiteNoise</source>
        <translation>White noise</translation>
    </message>
    <message>
        <source>Sine frequency in hertz</source>
        <translation>Sine frequency in hertz</translation>
    </message>
    <message>
        <source>Gain in dB</source>
        <translation>Gain in dB</translation>
    </message>
    <message>
        <source>Generator signal</source>
        <translation>Generator signal</translation>
    </message>
    <message>
        <source>Test signal: pink noise, sine or white noise</source>
        <translation>Test signal: pink noise, sine or white noise</translation>
    </message>
    <message>
        <source>Generator frequency in Hz</source>
        <translation>Generator frequency in Hz</translation>
    </message>
    <message>
        <source>Generator gain in dB</source>
        <translation>Generator gain in dB</translation>
    </message>
    <message>
        <source>Generator gain fader</source>
        <translation>Generator gain fader</translation>
    </message>
    <message>
        <source>Generator mute</source>
        <translation>Generator mute</translation>
    </message>
    <message>
        <source>Test signal to %1</source>
        <translation>Test signal to %1</translation>
    </message>
</context>
<context>
    <name>QlockPwdModDialog</name>
    <message>
        <source>Modify lock password</source>
        <translation>Modify lock password</translation>
    </message>
    <message>
        <source>Lock password :</source>
        <translation>Lock password :</translation>
    </message>
    <message>
        <source>New password :</source>
        <translation>New password :</translation>
    </message>
    <message>
        <source>Verify password :</source>
        <translation>Verify password :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Current lock password</source>
        <translation>Current lock password</translation>
    </message>
    <message>
        <source>New lock password</source>
        <translation>New lock password</translation>
    </message>
    <message>
        <source>Verify new lock password</source>
        <translation>Verify new lock password</translation>
    </message>
</context>
<context>
    <name>SystemPage</name>
    <message>
        <source>Cursor: %1 Hz</source>
        <translation>Cursor: %1 Hz</translation>
    </message>
    <message>
        <source>silent</source>
        <translation>silent</translation>
    </message>
    <message>
        <source>%1 at the cursor</source>
        <translation>%1 at the cursor</translation>
    </message>
    <message>
        <source>%1 latency</source>
        <translation>%1 latency</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>Could not write %1: %2</translation>
    </message>
    <message>
        <source>Export curves</source>
        <translation>Export curves</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Export picture</source>
        <translation>Export picture</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>All inputs</source>
        <translation>All inputs</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Magnitude</source>
        <translation>Magnitude</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Group delay</source>
        <translation>Group delay</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Export CSV...</translation>
    </message>
    <message>
        <source>Export PNG...</source>
        <translation>Export PNG...</translation>
    </message>
    <message>
        <source>Sum</source>
        <translation>Sum</translation>
    </message>
    <message>
        <source>System response</source>
        <translation>System response</translation>
    </message>
    <message>
        <source>Left and right arrows move the cursor</source>
        <translation>Left and right arrows move the cursor</translation>
    </message>
    <message>
        <source>Show %1</source>
        <translation>Show %1</translation>
    </message>
    <message>
        <source>Limiters, gate and feedback suppressor depend on the signal level and are not in the curves. Shaded: the reach of the dynamic EQ.</source>
        <translation>Limiters, gate and feedback suppressor depend on the signal level and are not in the curves. Shaded: the reach of the dynamic EQ.</translation>
    </message>
    <message>
        <source>Latency</source>
        <translation>Latency</translation>
    </message>
</context>
<context>
    <name>SystemText</name>
    <message numerus="yes">
        <source>%n day(s) %1</source>
        <comment>run time: days, then hours:minutes:seconds</comment>
        <translation>
            <numerusform>%n day %1</numerusform>
            <numerusform>%n days %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UnitHistory</name>
    <message>
        <source>... and %1 more</source>
        <translation>... and %1 more</translation>
    </message>
    <message>
        <source>Preset file imported: history before this point cannot be undone</source>
        <translation>Preset file imported: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>The preset file is prepared: &quot;Send to unit...&quot; sends it to the unit.</source>
        <translation>The preset file is prepared: &quot;Send to unit...&quot; sends it to the unit.</translation>
    </message>
    <message>
        <source>Firmware sent to the unit: history before this point cannot be undone</source>
        <translation>Firmware sent to the unit: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>Preset %1 recalled: history before this point cannot be undone</source>
        <translation>Preset %1 recalled: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>Presets copied to the unit: history before this point cannot be undone</source>
        <translation>Presets copied to the unit: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>Factory settings restored: history before this point cannot be undone</source>
        <translation>Factory settings restored: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>Factory set-up written: history before this point cannot be undone</source>
        <translation>Factory set-up written: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>Network settings changed: history before this point cannot be undone</source>
        <translation>Network settings changed: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>Password changed: history before this point cannot be undone</source>
        <translation>Password changed: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>Lock password changed: history before this point cannot be undone</source>
        <translation>Lock password changed: history before this point cannot be undone</translation>
    </message>
    <message>
        <source>Undo of &quot;%1&quot; skipped</source>
        <translation>Undo of &quot;%1&quot; skipped</translation>
    </message>
    <message>
        <source>Redo of &quot;%1&quot; skipped</source>
        <translation>Redo of &quot;%1&quot; skipped</translation>
    </message>
    <message>
        <source>changed on the unit by other means: %1</source>
        <translation>changed on the unit by other means: %1</translation>
    </message>
    <message>
        <source>Sending to the unit...</source>
        <translation>Sending to the unit...</translation>
    </message>
    <message>
        <source>Nothing was changed since the unit was chosen.</source>
        <translation>Nothing was changed since the unit was chosen.</translation>
    </message>
    <message>
        <source>Back to the state at connect</source>
        <translation>Back to the state at connect</translation>
    </message>
    <message>
        <source>Return the %1 parameters changed in this session to the values the unit had when it was chosen?</source>
        <translation>Return the %1 parameters changed in this session to the values the unit had when it was chosen?</translation>
    </message>
    <message>
        <source>Back to connect</source>
        <translation>Back to connect</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>No prepared settings to send.</source>
        <translation>No prepared settings to send.</translation>
    </message>
    <message>
        <source>No unit is connected.</source>
        <translation>No unit is connected.</translation>
    </message>
    <message>
        <source>The prepared settings are those of the unit.</source>
        <translation>The prepared settings are those of the unit.</translation>
    </message>
    <message>
        <source>Prepared settings</source>
        <translation>Prepared settings</translation>
    </message>
    <message>
        <source>The settings prepared without the unit differ from the unit&apos;s in %1 parameters:

%2

Send the prepared settings to the unit, or take the unit&apos;s settings?</source>
        <translation>The settings prepared without the unit differ from the unit&apos;s in %1 parameters:

%2

Send the prepared settings to the unit, or take the unit&apos;s settings?</translation>
    </message>
    <message>
        <source>Send the prepared settings</source>
        <translation>Send the prepared settings</translation>
    </message>
    <message>
        <source>Take the unit&apos;s settings</source>
        <translation>Take the unit&apos;s settings</translation>
    </message>
    <message>
        <source>The unit&apos;s settings were taken; the prepared settings were dropped.</source>
        <translation>The unit&apos;s settings were taken; the prepared settings were dropped.</translation>
    </message>
    <message>
        <source>The prepared settings are kept: &quot;Send to unit...&quot; sends them.</source>
        <translation>The prepared settings are kept: &quot;Send to unit...&quot; sends them.</translation>
    </message>
    <message>
        <source>Send to unit</source>
        <translation>Send to unit</translation>
    </message>
    <message>
        <source>Send these %1 parameters to the unit?

%2</source>
        <translation>Send these %1 parameters to the unit?

%2</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Prepared settings sent (%1 parameters)</source>
        <translation>Prepared settings sent (%1 parameters)</translation>
    </message>
    <message>
        <source>Sent %1 parameters to the unit:

%2</source>
        <translation>Sent %1 parameters to the unit:

%2</translation>
    </message>
</context>
<context>
    <name>ValueField</name>
    <message>
        <source>%1 to %2</source>
        <translation>%1 to %2</translation>
    </message>
</context>
<context>
    <name>mainWindow</name>
    <message>
        <source>Digital Audio Processor</source>
        <translation>Digital Audio Processor</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Update ARM Firmware</source>
        <translation>Update ARM Firmware</translation>
    </message>
    <message>
        <source>Update DSP Firmware</source>
        <translation>Update DSP Firmware</translation>
    </message>
    <message>
        <source>Modify login password</source>
        <translation>Modify login password</translation>
    </message>
    <message>
        <source>Modify security lock password</source>
        <translation>Modify security lock password</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Language1</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Language2</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>Language3</source>
        <translation>Language3</translation>
    </message>
    <message>
        <source>Language4</source>
        <translation>Language4</translation>
    </message>
    <message>
        <source>Language5</source>
        <translation>Language5</translation>
    </message>
    <message>
        <source>Device list</source>
        <translation>Device list</translation>
    </message>
    <message>
        <source>High DPI Scaling</source>
        <translation>High DPI Scaling</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>Device Fault</source>
        <translation>Device Fault</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Add Device</translation>
    </message>
    <message>
        <source>Disabling high DPI scaling and the application will keep the default size.

</source>
        <translation>Without high DPI scaling the application keeps its default size.

</translation>
    </message>
    <message>
        <source>Need to restart the application to take effect, are you sure that you want to restart now?</source>
        <translation>The application must restart for this to take effect. Restart now?</translation>
    </message>
    <message>
        <source>Restart to take effect</source>
        <translation>Restart to take effect</translation>
    </message>
    <message>
        <source>Restart immediately to take effect</source>
        <translation>Restart now</translation>
    </message>
    <message>
        <source>No, take effect at next startup</source>
        <translation>No, at the next start</translation>
    </message>
    <message>
        <source>Restore the factory settings will delete all user data!!!</source>
        <translation>Restoring the factory settings deletes all user data!</translation>
    </message>
    <message>
        <source>Do you want to reformat the disk and erase all data?</source>
        <translation>Do you want to format the unit&apos;s storage and erase all data?</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Found fault :</source>
        <translation>Faults found :</translation>
    </message>
    <message>
        <source>DAC</source>
        <translation>DAC</translation>
    </message>
    <message>
        <source>Flash</source>
        <translation>Flash</translation>
    </message>
    <message>
        <source>Temp</source>
        <translation>Temp</translation>
    </message>
    <message>
        <source>See the Settings page for details.</source>
        <translation>See the Settings page for details.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Modify lock password</source>
        <translation>Modify lock password</translation>
    </message>
    <message>
        <source>The lock password was changed.</source>
        <translation>The lock password was changed.</translation>
    </message>
    <message>
        <source>Wrong lock password: the lock password was not changed.</source>
        <translation>Wrong lock password: the lock password was not changed.</translation>
    </message>
    <message>
        <source>Modify password</source>
        <translation>Modify password</translation>
    </message>
    <message>
        <source>The login password was changed.</source>
        <translation>The login password was changed.</translation>
    </message>
    <message>
        <source>The unit did not take the new login password: the old one still holds.</source>
        <translation>The unit did not take the new login password: the old one still holds.</translation>
    </message>
</context>
</TS>
