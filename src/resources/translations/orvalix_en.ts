<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
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
        <translation>Runing Time</translation>
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
        <translation>* The connection timed out!
* Please check the network connection!
* Please make sure that the PC and the device are on the same subnet!
* Please make sure that there is no other IP conflicting with the device IP!
  You can try to modify the PC&apos;s IP or device IP.
  Right-click the mouse to select the device, you can modify its IP.</translation>
    </message>
    <message>
        <source>Modify device IP immediately</source>
        <translation>Modify device IP immediately</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Do not remind again</source>
        <translation>Do not remind again</translation>
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
        <translation>Cannot open database</translation>
    </message>
    <message>
        <source>Unable to establish a database connection.
This example needs SQLite support. Please read the Qt SQL driver documentation for information how to build it.

Click Cancel to exit.</source>
        <translation>Unable to establish a database connection.
This example needs SQLite support. Please read the Qt SQL driver documentation for information how to build it.

Click Cancel to exit.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ip Settings</source>
        <translation>ip Settings</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>Invalid IP address or subnet mask. Nothing was sent to the device.</source>
        <translation>Invalid IP address or subnet mask. Nothing was sent to the device.</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Add Device</translation>
    </message>
</context>
<context>
    <name>QDeviceItem</name>
    <message>
        <source>IP Setting</source>
        <translation>IP Setting</translation>
    </message>
    <message>
        <source>Remove Device</source>
        <translation>Remove Device</translation>
    </message>
</context>
<context>
    <name>QIpSetting</name>
    <message>
        <source>ip Settings</source>
        <translation>ip Settings</translation>
    </message>
    <message>
        <source>IP addr :</source>
        <translation>IP addr :</translation>
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
        <translation>Disabling high DPI scaling and the application will keep the default size.

</translation>
    </message>
    <message>
        <source>Need to restart the application to take effect, are you sure that you want to restart now?</source>
        <translation>Need to restart the application to take effect, are you sure that you want to restart now?</translation>
    </message>
    <message>
        <source>Restart to take effect</source>
        <translation>Restart to take effect</translation>
    </message>
    <message>
        <source>Restart immediately to take effect</source>
        <translation>Restart immediately to take effect</translation>
    </message>
    <message>
        <source>No, take effect at next startup</source>
        <translation>No, take effect at next startup</translation>
    </message>
    <message>
        <source>Restore the factory settings will delete all user data!!!</source>
        <translation>Restore the factory settings will delete all user data!!!</translation>
    </message>
    <message>
        <source>Do you want to reformat the disk and erase all data?</source>
        <translation>Do you want to reformat the disk and erase all data?</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancle</translation>
    </message>
    <message>
        <source>Found fault :</source>
        <translation>Found fault :</translation>
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
</context>
</TS>
