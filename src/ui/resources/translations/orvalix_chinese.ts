<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DEQWidget</name>
    <message>
        <source>Thresh</source>
        <translation>门限</translation>
    </message>
    <message>
        <source>Ratio</source>
        <translation>压缩比</translation>
    </message>
    <message>
        <source>Attack</source>
        <translation>启动时间</translation>
    </message>
    <message>
        <source>Decay</source>
        <translation>释放时间</translation>
    </message>
    <message>
        <source>Freq</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>增益</translation>
    </message>
    <message>
        <source>Q</source>
        <translation>Q值</translation>
    </message>
    <message>
        <source>Boost Below</source>
        <translation>低于门限提升</translation>
    </message>
    <message>
        <source>Cut Above</source>
        <translation>高于门限衰减</translation>
    </message>
    <message>
        <source>PEQ</source>
        <translation>参量均衡</translation>
    </message>
    <message>
        <source>LowShelf</source>
        <translation>低架</translation>
    </message>
    <message>
        <source>HighShelf</source>
        <translation>高架</translation>
    </message>
    <message>
        <source>Input Channel</source>
        <translation>输入通道</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>频段</translation>
    </message>
    <message>
        <source>Dynamics</source>
        <translation>动态</translation>
    </message>
    <message>
        <source>Equalizer</source>
        <translation>均衡器</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>复位</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Clear all setting?</source>
        <translation>清除所有设置？</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Threshold in dB</source>
        <translation>门限(dB)</translation>
    </message>
    <message>
        <source>Ratio of the dynamic gain change</source>
        <translation>动态增益变化的比率</translation>
    </message>
    <message>
        <source>Attack time in milliseconds</source>
        <translation>启动时间(毫秒)</translation>
    </message>
    <message>
        <source>Decay time in milliseconds</source>
        <translation>释放时间(毫秒)</translation>
    </message>
    <message>
        <source>Frequency in Hz</source>
        <translation>频率（Hz）</translation>
    </message>
    <message>
        <source>Maximum gain in dB</source>
        <translation>最大增益（dB）</translation>
    </message>
    <message>
        <source>Quality factor: centre frequency over bandwidth</source>
        <translation>品质因数：中心频率与带宽之比</translation>
    </message>
    <message>
        <source>%1 threshold knob</source>
        <translation>%1 门限旋钮</translation>
    </message>
    <message>
        <source>%1 ratio knob</source>
        <translation>%1 压缩比旋钮</translation>
    </message>
    <message>
        <source>%1 attack knob</source>
        <translation>%1 启动时间旋钮</translation>
    </message>
    <message>
        <source>%1 decay knob</source>
        <translation>%1 释放时间旋钮</translation>
    </message>
    <message>
        <source>%1 frequency knob</source>
        <translation>%1 频率旋钮</translation>
    </message>
    <message>
        <source>%1 gain knob</source>
        <translation>%1 增益旋钮</translation>
    </message>
    <message>
        <source>%1 Q knob</source>
        <translation>%1 Q 值旋钮</translation>
    </message>
    <message>
        <source>%1 threshold in dB</source>
        <translation>%1 门限(dB)</translation>
    </message>
    <message>
        <source>%1 ratio</source>
        <translation>%1 压缩比</translation>
    </message>
    <message>
        <source>%1 attack in ms</source>
        <translation>%1 启动时间(ms)</translation>
    </message>
    <message>
        <source>%1 decay in ms</source>
        <translation>%1 释放时间(ms)</translation>
    </message>
    <message>
        <source>%1 frequency in Hz</source>
        <translation>%1 频率（Hz）</translation>
    </message>
    <message>
        <source>%1 gain in dB</source>
        <translation>%1 增益(dB)</translation>
    </message>
    <message>
        <source>%1 Q</source>
        <translation>%1 Q 值</translation>
    </message>
    <message>
        <source>Copy the dynamic EQ of the selected channel to other channels</source>
        <translation>将所选通道的动态均衡复制到其他通道</translation>
    </message>
    <message>
        <source>Reset every band of the selected channel</source>
        <translation>复位所选通道的全部频段</translation>
    </message>
    <message>
        <source>Band %1</source>
        <translation>频段 %1</translation>
    </message>
    <message>
        <source>Dynamic EQ response</source>
        <translation>动态均衡响应曲线</translation>
    </message>
    <message>
        <source>%1 band %2</source>
        <translation>%1 频段 %2</translation>
    </message>
    <message>
        <source>%1 enable</source>
        <translation>%1 启用</translation>
    </message>
    <message>
        <source>%1 mode</source>
        <translation>%1 模式</translation>
    </message>
    <message>
        <source>Boost below or cut above the threshold</source>
        <translation>低于阈值时提升，或高于阈值时衰减</translation>
    </message>
    <message>
        <source>%1 type</source>
        <translation>%1 类型</translation>
    </message>
</context>
<context>
    <name>DelayPage</name>
    <message>
        <source>Millisecond</source>
        <translation>毫秒</translation>
    </message>
    <message>
        <source>Meters</source>
        <translation>米</translation>
    </message>
    <message>
        <source>Feet</source>
        <translation>英尺</translation>
    </message>
    <message>
        <source>%1 delay slider</source>
        <translation>%1 延时滑块</translation>
    </message>
    <message>
        <source>Delay in milliseconds</source>
        <translation>延时(毫秒)</translation>
    </message>
    <message>
        <source>%1 delay in ms</source>
        <translation>%1 延时(ms)</translation>
    </message>
    <message>
        <source>%1 delay distance in meters</source>
        <translation>%1 延时距离(米)</translation>
    </message>
    <message>
        <source>%1 delay distance in feet</source>
        <translation>%1 延时距离(英尺)</translation>
    </message>
</context>
<context>
    <name>FilterPage</name>
    <message>
        <source>Bessel</source>
        <translation>贝塞尔</translation>
    </message>
    <message>
        <source>Butterworth</source>
        <translation>巴特沃斯</translation>
    </message>
    <message>
        <source>Link-Riley</source>
        <translation>林克维茨-瑞利</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>复位</translation>
    </message>
    <message>
        <source>High-Pass</source>
        <translation>高通</translation>
    </message>
    <message>
        <source>Low-Pass</source>
        <translation>低通</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>斜率</translation>
    </message>
    <message>
        <source>Freq(Hz)</source>
        <translation>频率(Hz)</translation>
    </message>
    <message>
        <source>Parametric EQ</source>
        <translation>参量均衡</translation>
    </message>
    <message>
        <source>Gain(dB)</source>
        <translation>增益(dB)</translation>
    </message>
    <message>
        <source>Q</source>
        <translation>Q值</translation>
    </message>
    <message>
        <source>PEQ</source>
        <translation>参量均衡</translation>
    </message>
    <message>
        <source>LowShelf</source>
        <translation>低架</translation>
    </message>
    <message>
        <source>HighShelf</source>
        <translation>高架</translation>
    </message>
    <message>
        <source>Allpass</source>
        <translation>全通</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Clear all setting?</source>
        <translation>清除所有设置？</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Input Channel</source>
        <translation>输入通道</translation>
    </message>
    <message>
        <source>Output Channel</source>
        <translation>输出通道</translation>
    </message>
    <message>
        <source>Frequency in Hz</source>
        <translation>频率（Hz）</translation>
    </message>
    <message>
        <source>Gain in dB</source>
        <translation>增益(dB)</translation>
    </message>
    <message>
        <source>Quality factor: centre frequency over bandwidth</source>
        <translation>品质因数：中心频率与带宽之比</translation>
    </message>
    <message>
        <source>Copy the filters of the selected channel to other channels</source>
        <translation>将所选通道的滤波器复制到其他通道</translation>
    </message>
    <message>
        <source>Clear every filter of the selected channel</source>
        <translation>清除所选通道的全部滤波器</translation>
    </message>
    <message>
        <source>Band %1</source>
        <translation>频段 %1</translation>
    </message>
    <message>
        <source>Filter response</source>
        <translation>滤波器响应曲线</translation>
    </message>
    <message>
        <source>%1 high-pass</source>
        <translation>%1 高通</translation>
    </message>
    <message>
        <source>%1 low-pass</source>
        <translation>%1 低通</translation>
    </message>
    <message>
        <source>%1 enable</source>
        <translation>%1 启用</translation>
    </message>
    <message>
        <source>%1 type</source>
        <translation>%1 类型</translation>
    </message>
    <message>
        <source>%1 slope</source>
        <translation>%1 斜率</translation>
    </message>
    <message>
        <source>Slope in dB per octave</source>
        <translation>斜率（dB/倍频程）</translation>
    </message>
    <message>
        <source>%1 frequency knob</source>
        <translation>%1 频率旋钮</translation>
    </message>
    <message>
        <source>%1 frequency in Hz</source>
        <translation>%1 频率（Hz）</translation>
    </message>
    <message>
        <source>%1 band %2</source>
        <translation>%1 频段 %2</translation>
    </message>
    <message>
        <source>%1 gain knob</source>
        <translation>%1 增益旋钮</translation>
    </message>
    <message>
        <source>%1 gain in dB</source>
        <translation>%1 增益(dB)</translation>
    </message>
    <message>
        <source>%1 Q knob</source>
        <translation>%1 Q 值旋钮</translation>
    </message>
    <message>
        <source>%1 Q</source>
        <translation>%1 Q 值</translation>
    </message>
</context>
<context>
    <name>FirWidget</name>
    <message>
        <source>Low Pass</source>
        <translation>低通</translation>
    </message>
    <message>
        <source>High Pass</source>
        <translation>高通</translation>
    </message>
    <message>
        <source>Band Pass</source>
        <translation>带通</translation>
    </message>
    <message>
        <source>External FIR</source>
        <translation>外部FIR</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>矩形窗</translation>
    </message>
    <message>
        <source>Tukey</source>
        <translation>图基窗</translation>
    </message>
    <message>
        <source>Triangular</source>
        <translation>三角窗</translation>
    </message>
    <message>
        <source>Hanning</source>
        <translation>汉宁窗</translation>
    </message>
    <message>
        <source>Hamming</source>
        <translation>汉明窗</translation>
    </message>
    <message>
        <source>Blackman</source>
        <translation>布莱克曼窗</translation>
    </message>
    <message>
        <source>Kaiser</source>
        <translation>凯泽窗</translation>
    </message>
    <message>
        <source>Output Channel</source>
        <translation>输出通道</translation>
    </message>
    <message>
        <source>FIR Type</source>
        <translation>FIR类型</translation>
    </message>
    <message>
        <source>Import external FIR</source>
        <translation>导入外部FIR</translation>
    </message>
    <message>
        <source>Taps</source>
        <translation>抽头数</translation>
    </message>
    <message>
        <source>Low Freq</source>
        <translation>低频</translation>
    </message>
    <message>
        <source>Freq</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>High Freq</source>
        <translation>高频</translation>
    </message>
    <message>
        <source>(Hz)</source>
        <translation>(Hz)</translation>
    </message>
    <message>
        <source>Window Type</source>
        <translation>窗函数</translation>
    </message>
    <message>
        <source>Kaiser Beta</source>
        <translation>凯泽窗Beta值</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Update to Device</source>
        <translation>更新到设备</translation>
    </message>
    <message>
        <source>Download and View</source>
        <translation>下载并查看</translation>
    </message>
    <message>
        <source>Download and view current settings of the device</source>
        <translation>从设备下载并查看当前设置</translation>
    </message>
    <message>
        <source>View Current</source>
        <translation>查看当前设置</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>The settings have not been updated to the device! Click to update!</source>
        <translation>设置尚未更新到设备！请点击更新！</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Clear all setting?</source>
        <translation>清除所有设置？</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Load External FIR From PC</source>
        <translation>从电脑加载外部FIR</translation>
    </message>
    <message>
        <source>External FIR File (*.txt)</source>
        <translation>外部FIR文件 (*.txt)</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>FIR tap can&apos;t be larger than </source>
        <translation>FIR抽头数不能大于 </translation>
    </message>
    <message>
        <source>External FIR file format error!</source>
        <translation>外部FIR文件格式错误！</translation>
    </message>
    <message>
        <source>Import external FIR data and update to device?</source>
        <translation>导入外部FIR数据并更新到设备？</translation>
    </message>
    <message>
        <source>Import FIR From PC</source>
        <translation>从电脑导入FIR</translation>
    </message>
    <message>
        <source>FIR File (*.chFIR)</source>
        <translation>FIR文件 (*.chFIR)</translation>
    </message>
    <message>
        <source>FIR file format error!</source>
        <translation>FIR文件格式错误！</translation>
    </message>
    <message>
        <source>Import FIR and update to device?</source>
        <translation>导入FIR并更新到设备？</translation>
    </message>
    <message>
        <source>Export FIR to PC</source>
        <translation>导出FIR到电脑</translation>
    </message>
    <message>
        <source>The FIR file could not be written:
%1
%2</source>
        <translation>无法写入FIR文件：
%1
%2</translation>
    </message>
    <message>
        <source>Number of filter taps</source>
        <translation>滤波器阶数</translation>
    </message>
    <message>
        <source>Beta of the Kaiser window</source>
        <translation>凯泽窗的 Beta 值</translation>
    </message>
    <message>
        <source>FIR response</source>
        <translation>FIR 响应曲线</translation>
    </message>
    <message>
        <source>%1 FIR type: %2</source>
        <translation>%1 FIR 类型：%2</translation>
    </message>
    <message>
        <source>%1 FIR taps</source>
        <translation>%1 FIR 阶数</translation>
    </message>
    <message>
        <source>Frequency in Hz</source>
        <translation>频率（Hz）</translation>
    </message>
    <message>
        <source>%1 FIR low frequency knob</source>
        <translation>%1 FIR 低频旋钮</translation>
    </message>
    <message>
        <source>%1 FIR frequency knob</source>
        <translation>%1 FIR 频率旋钮</translation>
    </message>
    <message>
        <source>%1 FIR low frequency in Hz</source>
        <translation>%1 FIR 低频（Hz）</translation>
    </message>
    <message>
        <source>%1 FIR frequency in Hz</source>
        <translation>%1 FIR 频率（Hz）</translation>
    </message>
    <message>
        <source>%1 FIR high frequency knob</source>
        <translation>%1 FIR 高频旋钮</translation>
    </message>
    <message>
        <source>%1 FIR high frequency in Hz</source>
        <translation>%1 FIR 高频（Hz）</translation>
    </message>
    <message>
        <source>%1 FIR window type</source>
        <translation>%1 FIR 窗类型</translation>
    </message>
    <message>
        <source>%1 Kaiser window beta</source>
        <translation>%1 凯泽窗 Beta</translation>
    </message>
    <message>
        <source>%1 FIR enable</source>
        <translation>%1 FIR 启用</translation>
    </message>
</context>
<context>
    <name>FirmwareUpload</name>
    <message>
        <source>sbin Files (*.sbin)</source>
        <translation>sbin文件 (*.sbin)</translation>
    </message>
    <message>
        <source>ldr Files (*.ldr)</source>
        <translation>ldr文件 (*.ldr)</translation>
    </message>
    <message>
        <source>Find Files</source>
        <translation>查找文件</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Bad file format</source>
        <translation>文件格式错误</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Cannot read the firmware file:
%1</source>
        <translation>无法读取固件文件：
%1</translation>
    </message>
    <message>
        <source>The firmware file is empty.</source>
        <translation>固件文件为空。</translation>
    </message>
    <message>
        <source>The firmware file is too large: the unit takes at most %1 bytes.</source>
        <translation>固件文件过大：设备最多接受 %1 字节。</translation>
    </message>
    <message>
        <source>updating...</source>
        <translation>正在升级...</translation>
    </message>
    <message>
        <source>The connection to the unit was lost: the firmware upgrade did not finish.</source>
        <translation>与设备的连接已断开：固件升级未完成。</translation>
    </message>
</context>
<context>
    <name>FuncWidget</name>
    <message>
        <source>In Level</source>
        <translation>输入电平</translation>
    </message>
    <message>
        <source>Gate</source>
        <translation>噪声门</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>反馈抑制</translation>
    </message>
    <message>
        <source>In Filter</source>
        <translation>输入滤波</translation>
    </message>
    <message>
        <source>DEQ</source>
        <translation>动态均衡</translation>
    </message>
    <message>
        <source>In Limiter</source>
        <translation>输入限幅</translation>
    </message>
    <message>
        <source>In Delay</source>
        <translation>输入延时</translation>
    </message>
    <message>
        <source>Matrix</source>
        <translation>矩阵</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>信号发生</translation>
    </message>
    <message>
        <source>Out Level</source>
        <translation>输出电平</translation>
    </message>
    <message>
        <source>FIR Filter</source>
        <translation>FIR滤波</translation>
    </message>
    <message>
        <source>Out Filter</source>
        <translation>输出滤波</translation>
    </message>
    <message>
        <source>Out Limiter</source>
        <translation>输出限幅</translation>
    </message>
    <message>
        <source>Out Delay</source>
        <translation>输出延时</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>预设</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>安全</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Can not write the file:
%1</source>
        <translation>无法写入文件：
%1</translation>
    </message>
    <message>
        <source>System</source>
        <translation>系统</translation>
    </message>
    <message>
        <source>Offline Save</source>
        <translation>离线保存</translation>
    </message>
    <message>
        <source>The settings were saved to %1.</source>
        <translation>设置已保存到 %1。</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The preset file was loaded except for these filter settings, which it holds in a form this program cannot show; they keep their current values:
%1</source>
        <translation>预设文件已载入，但以下滤波器设置的格式本程序无法显示，它们保留当前值：
%1</translation>
    </message>
    <message>
        <source>Output %1</source>
        <translation>输出 %1</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>输入 %1</translation>
    </message>
    <message>
        <source>%1 high-pass</source>
        <translation>%1 高通</translation>
    </message>
    <message>
        <source>%1 low-pass</source>
        <translation>%1 低通</translation>
    </message>
    <message>
        <source>%1 band %2</source>
        <translation>%1 频段 %2</translation>
    </message>
</context>
<context>
    <name>HistoryDock</name>
    <message>
        <source>History</source>
        <translation>历史</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Back to the state at connect...</source>
        <translation>回到连接时的状态...</translation>
    </message>
    <message>
        <source>Send to unit...</source>
        <translation>发送到设备...</translation>
    </message>
    <message>
        <source>Back to connect</source>
        <translation>回到连接时</translation>
    </message>
    <message>
        <source>&lt;state at connect&gt;</source>
        <translation>&lt;连接时的状态&gt;</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>撤销 %1</translation>
    </message>
    <message>
        <source>Cannot undo: %1</source>
        <translation>无法撤销：%1</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>重做 %1</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
</context>
<context>
    <name>LevelPage</name>
    <message>
        <source>Source</source>
        <translation>音源</translation>
    </message>
    <message>
        <source>Analog</source>
        <translation>模拟</translation>
    </message>
    <message>
        <source>AES</source>
        <translation>AES</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>编组</translation>
    </message>
    <message>
        <source>Gain(dB)</source>
        <translation>增益(dB)</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>反相</translation>
    </message>
    <message>
        <source>%1 and %2 source</source>
        <translation>%1 和 %2 音源</translation>
    </message>
    <message>
        <source>Input source of the pair: analog or AES digital</source>
        <translation>这对输入的音源:模拟或 AES 数字</translation>
    </message>
    <message>
        <source>Gain in dB</source>
        <translation>增益(dB)</translation>
    </message>
    <message>
        <source>%1 link group</source>
        <translation>%1 联动组</translation>
    </message>
    <message>
        <source>Link group: channels of one group follow each other</source>
        <translation>联动组:同组通道一起调节</translation>
    </message>
    <message>
        <source>%1 gain in dB</source>
        <translation>%1 增益(dB)</translation>
    </message>
    <message>
        <source>%1 gain fader</source>
        <translation>%1 增益推子</translation>
    </message>
    <message>
        <source>%1 mute</source>
        <translation>%1 静音</translation>
    </message>
    <message>
        <source>%1 polarity invert</source>
        <translation>%1 反相</translation>
    </message>
    <message>
        <source>Invert the polarity</source>
        <translation>反转极性</translation>
    </message>
</context>
<context>
    <name>LimiterPage</name>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Clear all setting?</source>
        <translation>清除所有设置？</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Input Channel</source>
        <translation>输入通道</translation>
    </message>
    <message>
        <source>Output Channel</source>
        <translation>输出通道</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>复位</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>输出</translation>
    </message>
    <message>
        <source>G-R</source>
        <translation>衰减</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Thresh(dB)</source>
        <translation>门限(dB)</translation>
    </message>
    <message>
        <source>Ratio</source>
        <translation>压缩比</translation>
    </message>
    <message>
        <source>Attack(ms)</source>
        <translation>启动时间(ms)</translation>
    </message>
    <message>
        <source>Decay(ms)</source>
        <translation>释放时间(ms)</translation>
    </message>
    <message>
        <source>Gain reduction in dB</source>
        <translation>增益衰减(dB)</translation>
    </message>
    <message>
        <source>Threshold in dB</source>
        <translation>门限(dB)</translation>
    </message>
    <message>
        <source>Compression ratio (n:1)</source>
        <translation>压缩比(n:1)</translation>
    </message>
    <message>
        <source>Attack time in milliseconds</source>
        <translation>启动时间(毫秒)</translation>
    </message>
    <message>
        <source>Decay time in milliseconds</source>
        <translation>释放时间(毫秒)</translation>
    </message>
    <message>
        <source>Edit %1</source>
        <translation>编辑 %1</translation>
    </message>
    <message>
        <source>Copy %1 to other channels</source>
        <translation>复制 %1 到其他通道</translation>
    </message>
    <message>
        <source>Reset %1</source>
        <translation>复位 %1</translation>
    </message>
    <message>
        <source>%1 limiter enable</source>
        <translation>%1 压限器开启</translation>
    </message>
    <message>
        <source>%1 threshold knob</source>
        <translation>%1 门限旋钮</translation>
    </message>
    <message>
        <source>%1 threshold in dB</source>
        <translation>%1 门限(dB)</translation>
    </message>
    <message>
        <source>%1 ratio knob</source>
        <translation>%1 压缩比旋钮</translation>
    </message>
    <message>
        <source>%1 ratio</source>
        <translation>%1 压缩比</translation>
    </message>
    <message>
        <source>%1 attack knob</source>
        <translation>%1 启动时间旋钮</translation>
    </message>
    <message>
        <source>%1 attack in ms</source>
        <translation>%1 启动时间(ms)</translation>
    </message>
    <message>
        <source>%1 decay knob</source>
        <translation>%1 释放时间旋钮</translation>
    </message>
    <message>
        <source>%1 decay in ms</source>
        <translation>%1 释放时间(ms)</translation>
    </message>
</context>
<context>
    <name>LinkBanner</name>
    <message>
        <source>Offline: no unit is connected. Changes are kept in this window and are not sent to a unit.</source>
        <translation>离线：未连接设备。修改保留在本窗口中，不会发送到设备。</translation>
    </message>
    <message>
        <source>Not logged in: changes on the pages still reach the unit, but firmware updates, passwords and the factory reset need the login.</source>
        <translation>未登录：页面上的修改仍会发送到设备，但固件升级、密码修改和恢复出厂设置需要登录。</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>QCail</name>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Reset system all config?</source>
        <translation>复位系统所有配置？</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation>校准</translation>
    </message>
    <message>
        <source>Input Link</source>
        <translation>输入联动</translation>
    </message>
    <message>
        <source>Output Link</source>
        <translation>输出联动</translation>
    </message>
    <message>
        <source>Mix</source>
        <translation>混音</translation>
    </message>
    <message>
        <source>System 
Reset</source>
        <translation>系统
复位</translation>
    </message>
    <message>
        <source>Move every input trim together</source>
        <translation>所有输入校准一起调节</translation>
    </message>
    <message>
        <source>Move every output trim together</source>
        <translation>所有输出校准一起调节</translation>
    </message>
    <message>
        <source>Route every input to every output, or none</source>
        <translation>所有输入接到所有输出,或全部断开</translation>
    </message>
    <message>
        <source>System Reset</source>
        <translation>系统复位</translation>
    </message>
    <message>
        <source>Reset the whole configuration of the unit</source>
        <translation>复位设备的全部配置</translation>
    </message>
    <message>
        <source>Calibration trim in dB</source>
        <translation>校准增益(dB)</translation>
    </message>
    <message>
        <source>%1 trim in dB</source>
        <translation>%1 校准(dB)</translation>
    </message>
    <message>
        <source>%1 trim fader</source>
        <translation>%1 校准推子</translation>
    </message>
</context>
<context>
    <name>QChannelSelect</name>
    <message>
        <source>Select Channel</source>
        <translation>选择通道</translation>
    </message>
    <message>
        <source>Input channel</source>
        <translation>输入通道</translation>
    </message>
    <message>
        <source>Output channel</source>
        <translation>输出通道</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>输入 %1</translation>
    </message>
    <message>
        <source>Output %1</source>
        <translation>输出 %1</translation>
    </message>
</context>
<context>
    <name>QDevTable</name>
    <message>
        <source>Device list</source>
        <translation>设备列表</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>Device Model</source>
        <translation>设备型号</translation>
    </message>
    <message>
        <source>ARM Ver</source>
        <translation>ARM版本</translation>
    </message>
    <message>
        <source>DSP Ver</source>
        <translation>DSP版本</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Device SN</source>
        <translation>设备序列号</translation>
    </message>
    <message>
        <source>Link Status</source>
        <translation>连接状态</translation>
    </message>
    <message>
        <source>Runing Time</source>
        <translation>运行时间</translation>
    </message>
    <message>
        <source>Total Time</source>
        <translation>累计运行时间</translation>
    </message>
    <message>
        <source>Device ID</source>
        <translation>设备ID</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Connection Timeout</source>
        <translation>连接超时</translation>
    </message>
    <message>
        <source>* The connection timed out!
* Please check the network connection!
* Please make sure that the PC and the device are on the same subnet!
* Please make sure that there is no other IP conflicting with the device IP!
  You can try to modify the PC&apos;s IP or device IP.
  Right-click the mouse to select the device, you can modify its IP.</source>
        <translation>* 连接超时！
* 请检查网络连接！
* 请确认电脑与设备在同一网段！
* 请确认网络中没有其他设备与该设备的IP冲突！
  您可以尝试修改电脑的IP或设备的IP。
  在设备上单击鼠标右键选择设备，即可修改其IP。</translation>
    </message>
    <message>
        <source>Modify device IP immediately</source>
        <translation>立即修改设备IP</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Do not remind again</source>
        <translation>不再提醒</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Unconnected</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Cannot open database</source>
        <translation>无法打开数据库</translation>
    </message>
    <message>
        <source>Unable to establish a database connection.
This example needs SQLite support. Please read the Qt SQL driver documentation for information how to build it.

Click Cancel to exit.</source>
        <translation>无法建立数据库连接。
本程序需要SQLite支持，请参阅Qt SQL驱动文档了解如何构建。

点击“取消”退出。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>ip Settings</source>
        <translation>IP设置</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Invalid IP address or subnet mask. Nothing was sent to the device.</source>
        <translation>IP地址或子网掩码无效，未向设备发送任何设置。</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>添加设备</translation>
    </message>
    <message>
        <source>Known devices</source>
        <translation>已知设备</translation>
    </message>
    <message>
        <source>Device columns</source>
        <translation>设备列</translation>
    </message>
    <message>
        <source>Device numbers</source>
        <translation>设备序号</translation>
    </message>
    <message>
        <source>Device table corner</source>
        <translation>设备表角</translation>
    </message>
    <message>
        <source>Delete device %1 (%2)</source>
        <translation>删除设备 %1（%2）</translation>
    </message>
</context>
<context>
    <name>QDeviceItem</name>
    <message>
        <source>IP Setting</source>
        <translation>IP设置</translation>
    </message>
    <message>
        <source>Remove Device</source>
        <translation>移除设备</translation>
    </message>
    <message>
        <source>Device at %1</source>
        <translation>设备，地址 %1</translation>
    </message>
    <message>
        <source>Device %1 at %2</source>
        <translation>设备 %1，地址 %2</translation>
    </message>
    <message>
        <source>Device at %1 fault</source>
        <translation>设备 %1 故障指示</translation>
    </message>
    <message>
        <source>Device at %1 online</source>
        <translation>设备 %1 在线指示</translation>
    </message>
    <message>
        <source>online</source>
        <translation>在线</translation>
    </message>
    <message>
        <source>offline</source>
        <translation>离线</translation>
    </message>
    <message>
        <source>fault</source>
        <translation>故障</translation>
    </message>
</context>
<context>
    <name>QFeedback</name>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>%1 feedback suppressor enable</source>
        <translation>%1 反馈抑制开启</translation>
    </message>
</context>
<context>
    <name>QGate</name>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Thresh(dB)</source>
        <translation>门限(dB)</translation>
    </message>
    <message>
        <source>Attack(ms)</source>
        <translation>启动时间(ms)</translation>
    </message>
    <message>
        <source>Decay(ms)</source>
        <translation>释放时间(ms)</translation>
    </message>
    <message>
        <source>Threshold in dB</source>
        <translation>门限(dB)</translation>
    </message>
    <message>
        <source>Attack time in milliseconds</source>
        <translation>启动时间(毫秒)</translation>
    </message>
    <message>
        <source>Decay time in milliseconds</source>
        <translation>释放时间(毫秒)</translation>
    </message>
    <message>
        <source>%1 gate enable</source>
        <translation>%1 噪声门开启</translation>
    </message>
    <message>
        <source>%1 gate threshold knob</source>
        <translation>%1 噪声门门限旋钮</translation>
    </message>
    <message>
        <source>%1 gate threshold in dB</source>
        <translation>%1 噪声门门限(dB)</translation>
    </message>
    <message>
        <source>%1 gate attack knob</source>
        <translation>%1 噪声门启动时间旋钮</translation>
    </message>
    <message>
        <source>%1 gate attack in ms</source>
        <translation>%1 噪声门启动时间(ms)</translation>
    </message>
    <message>
        <source>%1 gate decay knob</source>
        <translation>%1 噪声门释放时间旋钮</translation>
    </message>
    <message>
        <source>%1 gate decay in ms</source>
        <translation>%1 噪声门释放时间(ms)</translation>
    </message>
</context>
<context>
    <name>QIpSetting</name>
    <message>
        <source>ip Settings</source>
        <translation>IP设置</translation>
    </message>
    <message>
        <source>IP addr :</source>
        <translation>IP地址 :</translation>
    </message>
    <message>
        <source>Subnet :</source>
        <translation>子网掩码 :</translation>
    </message>
    <message>
        <source>Gateway :</source>
        <translation>网关 :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP 地址</translation>
    </message>
    <message>
        <source>Subnet mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>网关</translation>
    </message>
    <message>
        <source>Enter a valid IPv4 address for the device, such as 192.168.1.100.</source>
        <translation>请输入设备的有效IPv4地址，例如 192.168.1.100。</translation>
    </message>
    <message>
        <source>Enter a valid subnet mask, such as 255.255.255.0.</source>
        <translation>请输入有效的子网掩码，例如 255.255.255.0。</translation>
    </message>
    <message>
        <source>The gateway must be an address in the device&apos;s subnet, or 0.0.0.0 for none.</source>
        <translation>网关必须是设备所在子网中的地址，无网关时填 0.0.0.0。</translation>
    </message>
</context>
<context>
    <name>QLock</name>
    <message>
        <source>Free</source>
        <translation>自由</translation>
    </message>
    <message>
        <source>Read-only</source>
        <translation>只读</translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation>隐藏</translation>
    </message>
</context>
<context>
    <name>QLogin</name>
    <message>
        <source>Login</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Wrong password: the unit refused it.</source>
        <translation>密码错误：设备拒绝了该密码。</translation>
    </message>
</context>
<context>
    <name>QMixer</name>
    <message>
        <source>Gain(dB)</source>
        <translation>增益(dB)</translation>
    </message>
    <message>
        <source>All Mix</source>
        <translation>全部混音</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>复位</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Enable all mixer and set their value to 0dB?</source>
        <translation>启用所有混音点并将增益设为0dB？</translation>
    </message>
    <message>
        <source>Disable all mixer and set their value to 0dB?</source>
        <translation>关闭所有混音点并将增益设为0dB？</translation>
    </message>
    <message>
        <source>Gain in dB</source>
        <translation>增益(dB)</translation>
    </message>
    <message>
        <source>Switch every cross-point on at 0 dB</source>
        <translation>开启所有交叉点并设为 0 dB</translation>
    </message>
    <message>
        <source>Reset mixer</source>
        <translation>复位矩阵</translation>
    </message>
    <message>
        <source>Switch every cross-point off at 0 dB</source>
        <translation>关闭所有交叉点并设为 0 dB</translation>
    </message>
    <message>
        <source>Double-click to switch on or off; from the keyboard, use the input&apos;s Enable</source>
        <translation>双击开关;使用键盘时请用该输入的&quot;开启&quot;按钮</translation>
    </message>
    <message>
        <source>%1 to %2 cross-point</source>
        <translation>%1 到 %2 交叉点</translation>
    </message>
    <message>
        <source>%1 to %2 gain in dB</source>
        <translation>%1 到 %2 增益(dB)</translation>
    </message>
    <message>
        <source>%1 to %2 gain fader</source>
        <translation>%1 到 %2 增益推子</translation>
    </message>
    <message>
        <source>%1 to %2 enable</source>
        <translation>%1 到 %2 开启</translation>
    </message>
</context>
<context>
    <name>QOEMTool</name>
    <message>
        <source>Factory Setup</source>
        <translation>出厂设置</translation>
    </message>
    <message>
        <source>Channel Cfg :</source>
        <translation>通道配置 :</translation>
    </message>
    <message>
        <source>LCD Line%1 :</source>
        <translation>LCD第%1行 :</translation>
    </message>
    <message>
        <source>Model :</source>
        <translation>型号 :</translation>
    </message>
    <message>
        <source>SN :</source>
        <translation>序列号 :</translation>
    </message>
    <message>
        <source>DSP Model :</source>
        <translation>DSP型号 :</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>设定</translation>
    </message>
    <message>
        <source>Channel configuration: inputs and outputs</source>
        <translation>通道配置：输入与输出数</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Number of inputs</source>
        <translation>输入通道数</translation>
    </message>
    <message>
        <source>Number of outputs</source>
        <translation>输出通道数</translation>
    </message>
    <message>
        <source>LCD line %1</source>
        <translation>LCD 第 %1 行</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>DSP model</source>
        <translation>DSP 型号</translation>
    </message>
</context>
<context>
    <name>QOverView</name>
    <message>
        <source>Model :</source>
        <translation>型号 :</translation>
    </message>
    <message>
        <source>Loca :</source>
        <translation>位置 :</translation>
    </message>
    <message>
        <source>IPAddr :</source>
        <translation>IP地址 :</translation>
    </message>
    <message>
        <source>Desc :</source>
        <translation>描述 :</translation>
    </message>
    <message>
        <source>ARM Ver :</source>
        <translation>ARM版本 :</translation>
    </message>
    <message>
        <source>State :</source>
        <translation>状态 :</translation>
    </message>
    <message>
        <source>DSP Ver :</source>
        <translation>DSP版本 :</translation>
    </message>
    <message>
        <source>DSP :</source>
        <translation>DSP :</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>dB</translation>
    </message>
    <message>
        <source>Comp</source>
        <translation>压缩</translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation>Ctrl+M</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Unconnected</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP 地址</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>ARM firmware version</source>
        <translation>ARM 固件版本</translation>
    </message>
    <message>
        <source>Connection state</source>
        <translation>连接状态</translation>
    </message>
    <message>
        <source>DSP firmware version</source>
        <translation>DSP 固件版本</translation>
    </message>
    <message>
        <source>DSP load: usage and peak</source>
        <translation>DSP 负载：当前与峰值</translation>
    </message>
    <message>
        <source>Level in dB</source>
        <translation>电平（dB）</translation>
    </message>
    <message>
        <source>Compressor gain reduction in dB</source>
        <translation>压缩器增益衰减（dB）</translation>
    </message>
    <message>
        <source>%1 mute</source>
        <translation>%1 静音</translation>
    </message>
    <message>
        <source>Mute all</source>
        <translation>全部静音</translation>
    </message>
    <message>
        <source>Mute every input and output</source>
        <translation>静音所有输入和输出</translation>
    </message>
</context>
<context>
    <name>QPreset</name>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Recall</source>
        <translation>调用</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Import All</source>
        <translation>全部导入</translation>
    </message>
    <message>
        <source>Export All</source>
        <translation>全部导出</translation>
    </message>
    <message>
        <source>Offline Save</source>
        <translation>离线保存</translation>
    </message>
    <message>
        <source>Offline Import</source>
        <translation>离线导入</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Save preset?</source>
        <translation>保存预设？</translation>
    </message>
    <message>
        <source>Recall preset?</source>
        <translation>调用预设？</translation>
    </message>
    <message>
        <source>Erase preset?</source>
        <translation>删除预设？</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>预设</translation>
    </message>
    <message>
        <source>The preset name&apos;s length can not be greater than 16 bytes, please enter again!</source>
        <translation>预设名称的长度不能超过16个字节，请重新输入！</translation>
    </message>
    <message>
        <source>pst Files</source>
        <translation>pst 文件</translation>
    </message>
    <message>
        <source>pst Files (*.pst1)</source>
        <translation>pst 文件 (*.pst1)</translation>
    </message>
    <message>
        <source>pst Files (*.pst)</source>
        <translation>pst 文件 (*.pst)</translation>
    </message>
    <message>
        <source>SHARC21488_48K (*.pst1)</source>
        <translation>48 kHz 设备预设 (*.pst1)</translation>
    </message>
    <message>
        <source>SHARC21489_96K (*.pst1)</source>
        <translation>96 kHz 设备预设 (*.pst1)</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Can not read the file:
%1</source>
        <translation>无法读取文件：
%1</translation>
    </message>
    <message>
        <source>preset file format error!</source>
        <translation>预设文件格式错误！</translation>
    </message>
    <message>
        <source>Export to PC...</source>
        <translation>正在导出到电脑...</translation>
    </message>
    <message>
        <source>Can not write the file:
%1</source>
        <translation>无法写入文件：
%1</translation>
    </message>
    <message>
        <source>The unit stopped the transfer before the end.</source>
        <translation>设备在传输结束前停止了传输。</translation>
    </message>
    <message>
        <source>The preset image is too large to be transferred.</source>
        <translation>预设文件太大，无法传输。</translation>
    </message>
    <message>
        <source>Import from PC...</source>
        <translation>正在从电脑导入...</translation>
    </message>
    <message>
        <source>The connection to the unit was lost: the transfer did not finish.</source>
        <translation>与设备的连接已断开：传输未完成。</translation>
    </message>
    <message>
        <source>Preset %1 name</source>
        <translation>预设 %1 名称</translation>
    </message>
    <message>
        <source>Preset %1 save</source>
        <translation>预设 %1 保存</translation>
    </message>
    <message>
        <source>Save the unit&apos;s current settings into this preset</source>
        <translation>将设备当前参数保存到此预设</translation>
    </message>
    <message>
        <source>Preset %1 recall</source>
        <translation>预设 %1 调用</translation>
    </message>
    <message>
        <source>Preset %1 import</source>
        <translation>预设 %1 导入</translation>
    </message>
    <message>
        <source>Copy a preset file from the PC into this preset</source>
        <translation>将电脑上的预设文件导入此预设</translation>
    </message>
    <message>
        <source>Preset %1 export</source>
        <translation>预设 %1 导出</translation>
    </message>
    <message>
        <source>Copy this preset to a file on the PC</source>
        <translation>将此预设导出到电脑文件</translation>
    </message>
    <message>
        <source>Preset %1 delete</source>
        <translation>预设 %1 删除</translation>
    </message>
    <message>
        <source>Copy an all-presets file from the PC into the unit</source>
        <translation>将电脑上的全部预设文件导入设备</translation>
    </message>
    <message>
        <source>Copy every preset of the unit to a file on the PC</source>
        <translation>将设备的全部预设导出到电脑文件</translation>
    </message>
    <message>
        <source>Save the current settings to a file on the PC</source>
        <translation>将当前参数保存到电脑文件</translation>
    </message>
    <message>
        <source>Load settings from a file on the PC into the pages</source>
        <translation>将电脑文件中的参数载入各页面</translation>
    </message>
    <message>
        <source>Preset slots</source>
        <translation>预设列表</translation>
    </message>
    <message>
        <source>Preset columns</source>
        <translation>预设列</translation>
    </message>
    <message>
        <source>Preset numbers</source>
        <translation>预设序号</translation>
    </message>
    <message>
        <source>Preset table corner</source>
        <translation>预设表角</translation>
    </message>
    <message>
        <source>Preset %1</source>
        <translation>预设 %1</translation>
    </message>
    <message>
        <source>Preset %1 &quot;%2&quot;</source>
        <translation>预设 %1 “%2”</translation>
    </message>
    <message>
        <source>Replace this preset with %1?</source>
        <translation>用 %1 替换此预设？</translation>
    </message>
    <message>
        <source>Replace every preset of the unit with the presets of %1?</source>
        <translation>用 %1 中的预设替换设备上的全部预设？</translation>
    </message>
    <message>
        <source>Replace the settings of every page with those of %1?</source>
        <translation>用 %1 中的设置替换所有页面的设置？</translation>
    </message>
    <message>
        <source>An offline preset file has %1 bytes (48 kHz unit) or %2 bytes (96 kHz unit).</source>
        <translation>离线预设文件应为 %1 字节（48 kHz 设备）或 %2 字节（96 kHz 设备）。</translation>
    </message>
</context>
<context>
    <name>QPwdModDialog</name>
    <message>
        <source>Modify password</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>New password :</source>
        <translation>新密码 :</translation>
    </message>
    <message>
        <source>Confirm :</source>
        <translation>确认 :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>New password</source>
        <translation>新密码</translation>
    </message>
    <message>
        <source>Confirm new password</source>
        <translation>确认新密码</translation>
    </message>
</context>
<context>
    <name>QSecurity</name>
    <message>
        <source>InLevel</source>
        <translation>输入电平</translation>
    </message>
    <message>
        <source>Gate</source>
        <translation>噪声门</translation>
    </message>
    <message>
        <source>FeedBack</source>
        <translation>反馈抑制</translation>
    </message>
    <message>
        <source>InDEQ</source>
        <translation>动态均衡</translation>
    </message>
    <message>
        <source>InLimiter</source>
        <translation>输入限幅</translation>
    </message>
    <message>
        <source>InDelay</source>
        <translation>输入延时</translation>
    </message>
    <message>
        <source>MixMtx</source>
        <translation>矩阵混音</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>信号发生</translation>
    </message>
    <message>
        <source>OutLevel</source>
        <translation>输出电平</translation>
    </message>
    <message>
        <source>OutFIR</source>
        <translation>FIR滤波</translation>
    </message>
    <message>
        <source>OutLimiter</source>
        <translation>输出限幅</translation>
    </message>
    <message>
        <source>OutDelay</source>
        <translation>输出延时</translation>
    </message>
    <message>
        <source>InFilter</source>
        <translation>输入滤波</translation>
    </message>
    <message>
        <source>OutFilter</source>
        <translation>输出滤波</translation>
    </message>
    <message>
        <source>Legend</source>
        <translation>图例</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Password :</source>
        <translation>密码 :</translation>
    </message>
    <message>
        <source>Parametric EQ</source>
        <translation>参量均衡</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>曲线</translation>
    </message>
    <message>
        <source>HPF</source>
        <translation>高通</translation>
    </message>
    <message>
        <source>LPF</source>
        <translation>低通</translation>
    </message>
    <message>
        <source>Lock password</source>
        <translation>锁定密码</translation>
    </message>
    <message>
        <source>High-pass filter</source>
        <translation>高通滤波器</translation>
    </message>
    <message>
        <source>Low-pass filter</source>
        <translation>低通滤波器</translation>
    </message>
    <message>
        <source>Wrong lock password</source>
        <translation>锁定密码错误</translation>
    </message>
</context>
<context>
    <name>QSetup</name>
    <message>
        <source>Polling</source>
        <translation>轮播</translation>
    </message>
    <message>
        <source>Fixed on model</source>
        <translation>固定显示型号</translation>
    </message>
    <message>
        <source>Fixed on IP address</source>
        <translation>固定显示IP地址</translation>
    </message>
    <message>
        <source>Fixed on location</source>
        <translation>固定显示位置</translation>
    </message>
    <message>
        <source>Fixed on description</source>
        <translation>固定显示描述</translation>
    </message>
    <message>
        <source>Fixed on preset</source>
        <translation>固定显示预设</translation>
    </message>
    <message>
        <source>Fixed on run time</source>
        <translation>固定显示运行时间</translation>
    </message>
    <message>
        <source>Model :</source>
        <translation>型号 :</translation>
    </message>
    <message>
        <source>ARM Ver :</source>
        <translation>ARM版本 :</translation>
    </message>
    <message>
        <source>DSP Ver :</source>
        <translation>DSP版本 :</translation>
    </message>
    <message>
        <source>SN :</source>
        <translation>序列号 :</translation>
    </message>
    <message>
        <source>Location :</source>
        <translation>位置 :</translation>
    </message>
    <message>
        <source>Description :</source>
        <translation>描述 :</translation>
    </message>
    <message>
        <source>Device ID :</source>
        <translation>设备ID :</translation>
    </message>
    <message>
        <source>Boot counts :</source>
        <translation>启动次数 :</translation>
    </message>
    <message>
        <source>CPU Temp :</source>
        <translation>CPU温度 :</translation>
    </message>
    <message>
        <source>Channel Cfg :</source>
        <translation>通道配置 :</translation>
    </message>
    <message>
        <source>Run time :</source>
        <translation>运行时间 :</translation>
    </message>
    <message>
        <source>Total time :</source>
        <translation>总运行时间 :</translation>
    </message>
    <message>
        <source>Code :</source>
        <translation>编码 :</translation>
    </message>
    <message>
        <source>Panel Lock :</source>
        <translation>面板锁 :</translation>
    </message>
    <message>
        <source>LCD Page :</source>
        <translation>LCD页面 :</translation>
    </message>
    <message>
        <source>IP address :</source>
        <translation>IP地址 :</translation>
    </message>
    <message>
        <source>Subnet mask :</source>
        <translation>子网掩码 :</translation>
    </message>
    <message>
        <source>Gateway :</source>
        <translation>网关 :</translation>
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
        <translation>温度 :</translation>
    </message>
    <message>
        <source>Input Label</source>
        <translation>输入标签</translation>
    </message>
    <message>
        <source>Output Label</source>
        <translation>输出标签</translation>
    </message>
    <message>
        <source>Device Infomation</source>
        <translation>设备信息</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>网络</translation>
    </message>
    <message>
        <source>Fault</source>
        <translation>故障</translation>
    </message>
    <message>
        <source>IN</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>OUT</source>
        <translation>输出</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Find Files</source>
        <translation>查找文件</translation>
    </message>
    <message>
        <source>bin Files (*.bin)</source>
        <translation>bin文件 (*.bin)</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Cannot read the file %1.</source>
        <translation>无法读取文件 %1。</translation>
    </message>
    <message>
        <source>Cannot write the file %1.</source>
        <translation>无法写入文件 %1。</translation>
    </message>
    <message>
        <source>ARM firmware version</source>
        <translation>ARM 固件版本</translation>
    </message>
    <message>
        <source>DSP firmware version</source>
        <translation>DSP 固件版本</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>CPU temperature</source>
        <translation>CPU 温度</translation>
    </message>
    <message>
        <source>Channel configuration: inputs and outputs</source>
        <translation>通道配置：输入与输出数</translation>
    </message>
    <message>
        <source>What the front-panel display shows</source>
        <translation>前面板显示的内容</translation>
    </message>
    <message>
        <source>Lock the front-panel keys of the unit</source>
        <translation>锁定设备前面板按键</translation>
    </message>
    <message>
        <source>DSP fault</source>
        <translation>DSP 故障</translation>
    </message>
    <message>
        <source>Flash memory fault</source>
        <translation>闪存故障</translation>
    </message>
    <message>
        <source>Digital-to-analogue converter fault</source>
        <translation>数模转换器故障</translation>
    </message>
    <message>
        <source>Over-temperature fault</source>
        <translation>过温故障</translation>
    </message>
    <message>
        <source>%1 label</source>
        <translation>%1 标签</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
    <message>
        <source>Panel lock</source>
        <translation>面板锁</translation>
    </message>
    <message>
        <source>LCD page</source>
        <translation>LCD 页面</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP 地址</translation>
    </message>
    <message>
        <source>Subnet mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>网关</translation>
    </message>
</context>
<context>
    <name>QSigGenerator</name>
    <message>
        <source>Freq(Hz)</source>
        <translation>频率(Hz)</translation>
    </message>
    <message>
        <source>Gain(dB)</source>
        <translation>增益(dB)</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Output Channel</source>
        <translation>输出通道</translation>
    </message>
    <message>
        <source>PinkNoise</source>
        <translation>粉红噪声</translation>
    </message>
    <message>
        <source>Sine</source>
        <translation>正弦波</translation>
    </message>
    <message>
        <source>WhiteNoise</source>
        <translation>白噪声</translation>
    </message>
    <message>
        <source>Sine frequency in hertz</source>
        <translation>正弦波频率(赫兹)</translation>
    </message>
    <message>
        <source>Gain in dB</source>
        <translation>增益(dB)</translation>
    </message>
    <message>
        <source>Generator signal</source>
        <translation>信号发生器信号类型</translation>
    </message>
    <message>
        <source>Test signal: pink noise, sine or white noise</source>
        <translation>测试信号:粉红噪声、正弦波或白噪声</translation>
    </message>
    <message>
        <source>Generator frequency in Hz</source>
        <translation>信号发生器频率(Hz)</translation>
    </message>
    <message>
        <source>Generator gain in dB</source>
        <translation>信号发生器增益(dB)</translation>
    </message>
    <message>
        <source>Generator gain fader</source>
        <translation>信号发生器增益推子</translation>
    </message>
    <message>
        <source>Generator mute</source>
        <translation>信号发生器静音</translation>
    </message>
    <message>
        <source>Test signal to %1</source>
        <translation>测试信号送到 %1</translation>
    </message>
</context>
<context>
    <name>QlockPwdModDialog</name>
    <message>
        <source>Modify lock password</source>
        <translation>修改安全锁密码</translation>
    </message>
    <message>
        <source>Lock password :</source>
        <translation>安全锁密码 :</translation>
    </message>
    <message>
        <source>New password :</source>
        <translation>新密码 :</translation>
    </message>
    <message>
        <source>Verify password :</source>
        <translation>确认密码 :</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Current lock password</source>
        <translation>当前锁定密码</translation>
    </message>
    <message>
        <source>New lock password</source>
        <translation>新锁定密码</translation>
    </message>
    <message>
        <source>Verify new lock password</source>
        <translation>确认新锁定密码</translation>
    </message>
</context>
<context>
    <name>SystemPage</name>
    <message>
        <source>Cursor: %1 Hz</source>
        <translation>光标：%1 Hz</translation>
    </message>
    <message>
        <source>silent</source>
        <translation>无信号</translation>
    </message>
    <message>
        <source>%1 at the cursor</source>
        <translation>%1 光标处数值</translation>
    </message>
    <message>
        <source>%1 latency</source>
        <translation>%1 延迟</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Export curves</source>
        <translation>导出曲线</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Export picture</source>
        <translation>导出图片</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>音源</translation>
    </message>
    <message>
        <source>All inputs</source>
        <translation>全部输入</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>显示</translation>
    </message>
    <message>
        <source>Magnitude</source>
        <translation>幅度</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>相位</translation>
    </message>
    <message>
        <source>Group delay</source>
        <translation>群延时</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>导出 CSV...</translation>
    </message>
    <message>
        <source>Export PNG...</source>
        <translation>导出 PNG...</translation>
    </message>
    <message>
        <source>Sum</source>
        <translation>叠加</translation>
    </message>
    <message>
        <source>System response</source>
        <translation>系统响应</translation>
    </message>
    <message>
        <source>Left and right arrows move the cursor</source>
        <translation>左右方向键移动光标</translation>
    </message>
    <message>
        <source>Show %1</source>
        <translation>显示 %1</translation>
    </message>
    <message>
        <source>Limiters, gate and feedback suppressor depend on the signal level and are not in the curves. Shaded: the reach of the dynamic EQ.</source>
        <translation>压限器、噪声门和反馈抑制随信号电平变化，不计入曲线。阴影：动态均衡的作用范围。</translation>
    </message>
    <message>
        <source>Latency</source>
        <translation>延迟</translation>
    </message>
</context>
<context>
    <name>SystemText</name>
    <message numerus="yes">
        <source>%n day(s) %1</source>
        <comment>run time: days, then hours:minutes:seconds</comment>
        <translation>
            <numerusform>%n 天 %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UnitHistory</name>
    <message>
        <source>... and %1 more</source>
        <translation>……另有 %1 项</translation>
    </message>
    <message>
        <source>Preset file imported: history before this point cannot be undone</source>
        <translation>已导入预设文件：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>The preset file is prepared: &quot;Send to unit...&quot; sends it to the unit.</source>
        <translation>预设文件已准备好：“发送到设备...”可将其发送到设备。</translation>
    </message>
    <message>
        <source>Firmware sent to the unit: history before this point cannot be undone</source>
        <translation>已向设备发送固件：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>Preset %1 recalled: history before this point cannot be undone</source>
        <translation>已调用预设 %1：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>Presets copied to the unit: history before this point cannot be undone</source>
        <translation>已将预设复制到设备：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>Factory settings restored: history before this point cannot be undone</source>
        <translation>已恢复出厂设置：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>Factory set-up written: history before this point cannot be undone</source>
        <translation>已写入出厂配置：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>Network settings changed: history before this point cannot be undone</source>
        <translation>网络设置已更改：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>Password changed: history before this point cannot be undone</source>
        <translation>密码已更改：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>Lock password changed: history before this point cannot be undone</source>
        <translation>安全锁密码已更改：此前的历史无法撤销</translation>
    </message>
    <message>
        <source>Undo of &quot;%1&quot; skipped</source>
        <translation>已跳过撤销“%1”</translation>
    </message>
    <message>
        <source>Redo of &quot;%1&quot; skipped</source>
        <translation>已跳过重做“%1”</translation>
    </message>
    <message>
        <source>changed on the unit by other means: %1</source>
        <translation>已在设备上被其他方式更改：%1</translation>
    </message>
    <message>
        <source>Sending to the unit...</source>
        <translation>正在发送到设备...</translation>
    </message>
    <message>
        <source>Nothing was changed since the unit was chosen.</source>
        <translation>选择设备以来没有任何更改。</translation>
    </message>
    <message>
        <source>Back to the state at connect</source>
        <translation>回到连接时的状态</translation>
    </message>
    <message>
        <source>Return the %1 parameters changed in this session to the values the unit had when it was chosen?</source>
        <translation>将本次会话中更改的 %1 个参数恢复为选择设备时的值吗？</translation>
    </message>
    <message>
        <source>Back to connect</source>
        <translation>回到连接时</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>No prepared settings to send.</source>
        <translation>没有待发送的预备设置。</translation>
    </message>
    <message>
        <source>No unit is connected.</source>
        <translation>没有已连接的设备。</translation>
    </message>
    <message>
        <source>The prepared settings are those of the unit.</source>
        <translation>预备设置与设备的设置相同。</translation>
    </message>
    <message>
        <source>Prepared settings</source>
        <translation>预备设置</translation>
    </message>
    <message>
        <source>The settings prepared without the unit differ from the unit&apos;s in %1 parameters:

%2

Send the prepared settings to the unit, or take the unit&apos;s settings?</source>
        <translation>离线准备的设置与设备的设置有 %1 个参数不同：

%2

将预备设置发送到设备，还是采用设备的设置？</translation>
    </message>
    <message>
        <source>Send the prepared settings</source>
        <translation>发送预备设置</translation>
    </message>
    <message>
        <source>Take the unit&apos;s settings</source>
        <translation>采用设备的设置</translation>
    </message>
    <message>
        <source>The unit&apos;s settings were taken; the prepared settings were dropped.</source>
        <translation>已采用设备的设置，预备设置已放弃。</translation>
    </message>
    <message>
        <source>The prepared settings are kept: &quot;Send to unit...&quot; sends them.</source>
        <translation>预备设置已保留：“发送到设备...”可发送它们。</translation>
    </message>
    <message>
        <source>Send to unit</source>
        <translation>发送到设备</translation>
    </message>
    <message>
        <source>Send these %1 parameters to the unit?

%2</source>
        <translation>将这 %1 个参数发送到设备吗？

%2</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Prepared settings sent (%1 parameters)</source>
        <translation>已发送预备设置（%1 个参数）</translation>
    </message>
    <message>
        <source>Sent %1 parameters to the unit:

%2</source>
        <translation>已向设备发送 %1 个参数：

%2</translation>
    </message>
</context>
<context>
    <name>ValueField</name>
    <message>
        <source>%1 to %2</source>
        <translation>%1 至 %2</translation>
    </message>
</context>
<context>
    <name>mainWindow</name>
    <message>
        <source>Digital Audio Processor</source>
        <translation>数字音频处理器</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <source>Update ARM Firmware</source>
        <translation>升级ARM固件</translation>
    </message>
    <message>
        <source>Update DSP Firmware</source>
        <translation>升级DSP固件</translation>
    </message>
    <message>
        <source>Modify login password</source>
        <translation>修改登录密码</translation>
    </message>
    <message>
        <source>Modify security lock password</source>
        <translation>修改安全锁密码</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>恢复出厂设置</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
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
        <translation>设备列表</translation>
    </message>
    <message>
        <source>High DPI Scaling</source>
        <translation>高DPI缩放</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>启用</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>禁用</translation>
    </message>
    <message>
        <source>Device Fault</source>
        <translation>设备故障</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>添加设备</translation>
    </message>
    <message>
        <source>Disabling high DPI scaling and the application will keep the default size.

</source>
        <translation>禁用高DPI缩放后，程序将保持默认尺寸。

</translation>
    </message>
    <message>
        <source>Need to restart the application to take effect, are you sure that you want to restart now?</source>
        <translation>需要重启程序才能生效，确定现在重启吗？</translation>
    </message>
    <message>
        <source>Restart to take effect</source>
        <translation>重启生效</translation>
    </message>
    <message>
        <source>Restart immediately to take effect</source>
        <translation>立即重启生效</translation>
    </message>
    <message>
        <source>No, take effect at next startup</source>
        <translation>否，下次启动时生效</translation>
    </message>
    <message>
        <source>Restore the factory settings will delete all user data!!!</source>
        <translation>恢复出厂设置将删除所有用户数据！！！</translation>
    </message>
    <message>
        <source>Do you want to reformat the disk and erase all data?</source>
        <translation>确定要格式化磁盘并清除所有数据吗？</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Found fault :</source>
        <translation>发现故障：</translation>
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
        <translation>温度</translation>
    </message>
    <message>
        <source>See the Settings page for details.</source>
        <translation>详情请查看设置页面。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Modify lock password</source>
        <translation>修改安全锁密码</translation>
    </message>
    <message>
        <source>The lock password was changed.</source>
        <translation>锁定密码已修改。</translation>
    </message>
    <message>
        <source>Wrong lock password: the lock password was not changed.</source>
        <translation>锁定密码错误，锁定密码未修改。</translation>
    </message>
    <message>
        <source>Modify password</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>The login password was changed.</source>
        <translation>登录密码已修改。</translation>
    </message>
    <message>
        <source>The unit did not take the new login password: the old one still holds.</source>
        <translation>设备未接受新的登录密码，原密码仍然有效。</translation>
    </message>
</context>
</TS>
