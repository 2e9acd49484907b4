<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
</context>
</TS>
