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
    <message>
        <source>Double-click a picture to open it here.</source>
        <translation>双击一张图片，在此打开。</translation>
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
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
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
        <source>Alarm: %1</source>
        <translation>报警：%1</translation>
    </message>
    <message>
        <source>maximum %1 °C is above %2 °C</source>
        <translation>最高温度 %1 °C 高于 %2 °C</translation>
    </message>
    <message>
        <source>minimum %1 °C is below %2 °C</source>
        <translation>最低温度 %1 °C 低于 %2 °C</translation>
    </message>
    <message>
        <source>Above</source>
        <translation>高于</translation>
    </message>
    <message>
        <source>Below</source>
        <translation>低于</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>报警记录</translation>
    </message>
    <message>
        <source>Logging paused: %1</source>
        <translation>记录已暂停：%1</translation>
    </message>
    <message>
        <source>Palette</source>
        <translation>调色板</translation>
    </message>
    <message>
        <source>Automatic range</source>
        <translation>自动范围</translation>
    </message>
    <message>
        <source>No signal</source>
        <translation>无信号</translation>
    </message>
    <message>
        <source>Pictures are opened in the file browser: double-click one there.</source>
        <translation>图片在文件浏览器中打开：在那里双击一张图片。</translation>
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
    <message>
        <source>Go to another window</source>
        <translation>切换到其他窗口</translation>
    </message>
</context>
<context>
    <name>PictureExport</name>
    <message>
        <source>%1   captured %2   emissivity %3   reflected %4   ambient %5   distance %6 m</source>
        <translation>%1   拍摄时间 %2   发射率 %3   反射温度 %4   环境温度 %5   距离 %6 米</translation>
    </message>
    <message>
        <source>emissivity %1 → %2</source>
        <translation>发射率 %1 → %2</translation>
    </message>
    <message>
        <source>reflected %1 → %2</source>
        <translation>反射温度 %1 → %2</translation>
    </message>
    <message>
        <source>none (as stored)</source>
        <translation>无（按存储值）</translation>
    </message>
    <message>
        <source>Captured</source>
        <translation>拍摄时间</translation>
    </message>
    <message>
        <source>Emissivity</source>
        <translation>发射率</translation>
    </message>
    <message>
        <source>Reflected temperature</source>
        <translation>反射温度</translation>
    </message>
    <message>
        <source>Ambient temperature</source>
        <translation>环境温度</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>距离</translation>
    </message>
    <message>
        <source>%1 m</source>
        <translation>%1 米</translation>
    </message>
    <message>
        <source>Correction</source>
        <translation>校正</translation>
    </message>
    <message>
        <source>Palette</source>
        <translation>调色板</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>温度范围</translation>
    </message>
    <message>
        <source>automatic: %1 to %2</source>
        <translation>自动：%1 至 %2</translation>
    </message>
    <message>
        <source>manual: %1 to %2</source>
        <translation>手动：%1 至 %2</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>最低</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>最高</translation>
    </message>
    <message>
        <source>Centre</source>
        <translation>中心</translation>
    </message>
    <message>
        <source>Tool</source>
        <translation>工具</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>数值</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>spot</source>
        <translation>点</translation>
    </message>
    <message>
        <source>box</source>
        <translation>矩形</translation>
    </message>
    <message>
        <source>ellipse</source>
        <translation>椭圆</translation>
    </message>
    <message>
        <source>line</source>
        <translation>线</translation>
    </message>
</context>
<context>
    <name>PictureExportActions</name>
    <message>
        <source>Export…</source>
        <translation>导出…</translation>
    </message>
    <message>
        <source>Export the picture as PNG, its temperatures as CSV or TIFF</source>
        <translation>将图片导出为 PNG，或将温度导出为 CSV 或 TIFF</translation>
    </message>
    <message>
        <source>Add to report</source>
        <translation>加入报告</translation>
    </message>
    <message>
        <source>Report…</source>
        <translation>报告…</translation>
    </message>
    <message>
        <source>This picture has no temperature data.</source>
        <translation>此图片没有温度数据。</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>CSV temperatures (*.csv)</source>
        <translation>CSV 温度数据 (*.csv)</translation>
    </message>
    <message>
        <source>TIFF temperatures (*.tiff)</source>
        <translation>TIFF 温度数据 (*.tiff)</translation>
    </message>
    <message>
        <source>Export picture</source>
        <translation>导出图片</translation>
    </message>
    <message>
        <source>%1 exists. Replace it?</source>
        <translation>%1 已存在。要替换吗？</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
</context>
<context>
    <name>PicturePage</name>
    <message>
        <source>Emissivity %1</source>
        <translation>发射率 %1</translation>
    </message>
    <message>
        <source>The analysis of this picture could not be kept in %1.</source>
        <translation>无法将此图片的分析保存到 %1。</translation>
    </message>
    <message>
        <source>%1 (stored %2)</source>
        <translation>%1（存储值 %2）</translation>
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
    <message>
        <source>Spot</source>
        <translation>点</translation>
    </message>
    <message>
        <source>Box</source>
        <translation>矩形</translation>
    </message>
    <message>
        <source>Ellipse</source>
        <translation>椭圆</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>线</translation>
    </message>
    <message>
        <source>Place a spot: click on the picture</source>
        <translation>放置测温点：在图片上单击</translation>
    </message>
    <message>
        <source>Place a %1: drag across the picture</source>
        <translation>放置%1：在图片上拖动</translation>
    </message>
    <message>
        <source>Palette</source>
        <translation>调色板</translation>
    </message>
    <message>
        <source>Automatic range</source>
        <translation>自动范围</translation>
    </message>
    <message>
        <source>Lowest temperature of the scale</source>
        <translation>色标的最低温度</translation>
    </message>
    <message>
        <source>Highest temperature of the scale</source>
        <translation>色标的最高温度</translation>
    </message>
    <message>
        <source>No isotherm</source>
        <translation>无等温线</translation>
    </message>
    <message>
        <source>Isotherm above</source>
        <translation>等温线：高于</translation>
    </message>
    <message>
        <source>Isotherm within</source>
        <translation>等温线：区间</translation>
    </message>
    <message>
        <source>Emissivity</source>
        <translation>发射率</translation>
    </message>
    <message>
        <source>Reflected</source>
        <translation>反射温度</translation>
    </message>
    <message>
        <source>Stored values</source>
        <translation>恢复存储值</translation>
    </message>
    <message>
        <source>Go back to the emissivity and reflected temperature stored with the picture</source>
        <translation>恢复图片中存储的发射率和反射温度</translation>
    </message>
    <message>
        <source>Tool</source>
        <translation>工具</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最低</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最高</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>ΔT: first tool − second tool</source>
        <translation>ΔT：第一个工具 − 第二个工具</translation>
    </message>
    <message>
        <source>The saved analysis of this picture is damaged and was not used.</source>
        <translation>此图片保存的分析已损坏，未被使用。</translation>
    </message>
    <message>
        <source>Correction in effect</source>
        <translation>已应用校正</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>Profile of %1</source>
        <translation>%1 的温度剖面</translation>
    </message>
    <message>
        <source>Place two tools to compare them.</source>
        <translation>放置两个工具以进行比较。</translation>
    </message>
    <message>
        <source>ΔT = %1</source>
        <translation>温差 ΔT = %1</translation>
    </message>
</context>
<context>
    <name>ReportDialog</name>
    <message>
        <source>Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Write PDF…</source>
        <translation>生成 PDF…</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <source>Note for this picture</source>
        <translation>此图片的备注</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>Title page</source>
        <translation>封面</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>客户</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>地点</translation>
    </message>
    <message>
        <source>Inspector</source>
        <translation>检测人员</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Write report</source>
        <translation>生成报告</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF 文件 (*.pdf)</translation>
    </message>
    <message>
        <source>%1 exists. Replace it?</source>
        <translation>%1 已存在。要替换吗？</translation>
    </message>
    <message>
        <source>Writing the report…</source>
        <translation>正在生成报告…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The report was cancelled; no file was written.</source>
        <translation>报告已取消，未写入任何文件。</translation>
    </message>
    <message>
        <source>The report could not be written: %1</source>
        <translation>无法写入报告：%1</translation>
    </message>
    <message>
        <source>Left out (no temperature data): %1</source>
        <translation>未包含（无温度数据）：%1</translation>
    </message>
    <message>
        <source>Report written; pictures in it: %1.</source>
        <translation>报告已生成，共 %1 张图片。</translation>
    </message>
</context>
<context>
    <name>ReportWriter</name>
    <message>
        <source>Thermography report</source>
        <translation>热成像报告</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>第 %1 页，共 %2 页</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>客户</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>地点</translation>
    </message>
    <message>
        <source>Inspector</source>
        <translation>检测人员</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Measurement tools</source>
        <translation>测量工具</translation>
    </message>
    <message>
        <source>No tools</source>
        <translation>无测量工具</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>备注</translation>
    </message>
</context>
<context>
    <name>ThermalPalette</name>
    <message>
        <source>Iron</source>
        <translation>铁红</translation>
    </message>
    <message>
        <source>Rainbow</source>
        <translation>彩虹</translation>
    </message>
    <message>
        <source>White hot</source>
        <translation>白热</translation>
    </message>
    <message>
        <source>Black hot</source>
        <translation>黑热</translation>
    </message>
    <message>
        <source>High contrast</source>
        <translation>高对比度</translation>
    </message>
</context>
<context>
    <name>ThermogramCanvas</name>
    <message>
        <source>Remove %1</source>
        <translation>删除 %1</translation>
    </message>
</context>
</TS>
