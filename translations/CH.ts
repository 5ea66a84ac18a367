<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>Dossview</name>
    <message>
        <source>List</source>
        <translation>列表</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>表格</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation>日期/时间</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Removable</source>
        <translation>可移动磁盘</translation>
    </message>
    <message>
        <source>&amp;Files</source>
        <translation>文件(&amp;F)</translation>
    </message>
</context>
<context>
    <name>Livescope</name>
    <message>
        <source>&amp;Live</source>
        <translation>实时画面(&amp;L)</translation>
    </message>
    <message>
        <source>No history folder is set</source>
        <translation>未设置历史文件夹</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>无法创建 %1</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>无法写入 %1</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>报警</translation>
    </message>
    <message>
        <source>Alarm sound</source>
        <translation>报警音</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>记录日志</translation>
    </message>
    <message>
        <source>Logging to %1</source>
        <translation>正在记录到 %1</translation>
    </message>
    <message>
        <source>No readings</source>
        <translation>无读数</translation>
    </message>
    <message>
        <source>Min %1 °C   Max %2 °C   Centre %3 °C   %4 fps</source>
        <translation>最低 %1 °C   最高 %2 °C   中心 %3 °C   %4 帧/秒</translation>
    </message>
    <message>
        <source>Alarm: maximum %1 °C is above %2 °C</source>
        <translation>报警：最高温度 %1 °C 高于 %2 °C</translation>
    </message>
    <message>
        <source>No signal</source>
        <translation>无信号</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Wi-Fi</source>
        <translation>无线</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开连接</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Trying to open device...</source>
        <translation>正在尝试打开设备...</translation>
    </message>
    <message>
        <source>Failed to open device</source>
        <translation>打开设备失败</translation>
    </message>
    <message>
        <source>Changes will take effect when you restart application.</source>
        <translation>更改将在重新启动应用程序后生效。</translation>
    </message>
    <message>
        <source>USB flash disk is open</source>
        <translation>U盘已打开</translation>
    </message>
    <message>
        <source>Camera is open</source>
        <translation>摄像头已打开</translation>
    </message>
    <message>
        <source>USB flash disk is close</source>
        <translation>U盘已关闭</translation>
    </message>
    <message>
        <source>Camera is close</source>
        <translation>摄像头已关闭</translation>
    </message>
    <message>
        <source>Can not open file.</source>
        <translation>无法打开文件。</translation>
    </message>
</context>
<context>
    <name>OptionDialog</name>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>History files path</source>
        <translation>历史文件路径</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Choose path</source>
        <translation>选择路径</translation>
    </message>
</context>
<context>
    <name>Panelet</name>
    <message>
        <source>Picture</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Close this window</source>
        <translation>关闭此窗口</translation>
    </message>
</context>
<context>
    <name>PicturePage</name>
    <message>
        <source>Emissivity %1</source>
        <translation>发射率 %1</translation>
    </message>
    <message>
        <source>Captured %1</source>
        <translation>拍摄时间 %1</translation>
    </message>
    <message>
        <source>This picture has no temperature data.</source>
        <translation>此图片没有温度数据。</translation>
    </message>
    <message>
        <source>The temperature data of this picture is damaged.</source>
        <translation>此图片的温度数据已损坏。</translation>
    </message>
    <message>
        <source>Reflected %1</source>
        <translation>反射温度 %1</translation>
    </message>
    <message>
        <source>Ambient %1</source>
        <translation>环境温度 %1</translation>
    </message>
    <message>
        <source>Distance %1 m</source>
        <translation>距离 %1 米</translation>
    </message>
    <message>
        <source>Pointer %1</source>
        <translation>光标处 %1</translation>
    </message>
    <message>
        <source>Hottest %1</source>
        <translation>最高 %1</translation>
    </message>
    <message>
        <source>Coldest %1</source>
        <translation>最低 %1</translation>
    </message>
    <message>
        <source>Centre %1</source>
        <translation>中心 %1</translation>
    </message>
</context>
</TS>
