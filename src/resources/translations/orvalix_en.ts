<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QDevTable</name>
    <message>
        <source>Device list</source>
        <translation>Device list</translation>
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
