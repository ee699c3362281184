<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ConsoleLogic</name>
    <message>
        <source>Chamber run ended: cool to room temperature, end after 30 minutes</source>
        <translation>温箱运行结束：降至室温，30 分钟后结束</translation>
    </message>
</context>
<context>
    <name>DecodeDlg</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>color:rgb(0, 85, 255);</source>
        <translation>color:rgb(0, 85, 255);</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;解码数据流选择：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;解码数据流选择：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>QComboBox{height:25px;border-radius:4px;background-color:rgba(120,140,130,60);font:11pt &quot;宋体&quot;;color:rgb(0,128,128);}
QComboBox::drop-down{width:20px;border:none;}</source>
        <translation>QComboBox{height:25px;border-radius:4px;background-color:rgba(120,140,130,60);font:11pt &quot;宋体&quot;;color:rgb(0,128,128);}
QComboBox::drop-down{width:20px;border:none;}</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;目标文件路径：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;目标文件路径：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;源文件：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;源文件：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;目标文件：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;目标文件：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>QPushButton{color:rgb(0, 85, 255);border:1px solid rgb(122, 122, 122);border-radius:5px;background:transparent;}
QPushButton:hover{color:rgb(0, 170, 0);}
QPushButton:pressed{background-color:rgba(0, 170, 255, 30);}</source>
        <translation>QPushButton{color:rgb(0, 85, 255);border:1px solid rgb(122, 122, 122);border-radius:5px;background:transparent;}
QPushButton:hover{color:rgb(0, 170, 0);}
QPushButton:pressed{background-color:rgba(0, 170, 255, 30);}</translation>
    </message>
    <message>
        <source>选择打开文件</source>
        <translation>选择打开文件</translation>
    </message>
    <message>
        <source>数据解码</source>
        <translation>数据解码</translation>
    </message>
    <message>
        <source>QPushButton{color:rgb(200, 200, 200);border:1px solid rgb(200, 200, 200);border-radius:5px;background:transparent;}
QPushButton:hover{color:rgb(200, 200, 200);}
QPushButton:pressed{background-color:rgb(200, 200, 200);}</source>
        <translation>QPushButton{color:rgb(200, 200, 200);border:1px solid rgb(200, 200, 200);border-radius:5px;background:transparent;}
QPushButton:hover{color:rgb(200, 200, 200);}
QPushButton:pressed{background-color:rgb(200, 200, 200);}</translation>
    </message>
    <message>
        <source>取消解码</source>
        <translation>取消解码</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;进度：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;进度：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;状态：     N/A&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;状态：     N/A&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>AHRS</source>
        <translation>AHRS</translation>
    </message>
    <message>
        <source>INS/RTK</source>
        <translation>INS/RTK</translation>
    </message>
    <message>
        <source>Calibration 256</source>
        <translation>标定 256</translation>
    </message>
    <message>
        <source>Calibration 368</source>
        <translation>标定 368</translation>
    </message>
    <message>
        <source>Calibration 1040</source>
        <translation>标定 1040</translation>
    </message>
    <message>
        <source>Nine IMU</source>
        <translation>九轴 IMU</translation>
    </message>
    <message>
        <source>Current file name</source>
        <translation>Current file name</translation>
    </message>
    <message>
        <source>Self selected path</source>
        <translation>Self selected path</translation>
    </message>
    <message>
        <source>Open data file</source>
        <translation>Open data file</translation>
    </message>
    <message>
        <source>data format (*.txt *.dat *.TXT *.DAT)</source>
        <translation>数据格式 (*.txt *.dat *.TXT *.DAT)</translation>
    </message>
    <message>
        <source>Status: Please disconnect the serial port</source>
        <translation>Status: Please disconnect the serial port</translation>
    </message>
    <message>
        <source>Save decoding file</source>
        <translation>Save decoding file</translation>
    </message>
    <message>
        <source>data format (*.txt)</source>
        <translation>data format (*.txt)</translation>
    </message>
    <message>
        <source>Status:Please select the target file</source>
        <translation>Status:Please select the target file</translation>
    </message>
    <message>
        <source>Status:Please select the source file</source>
        <translation>Status:Please select the source file</translation>
    </message>
    <message>
        <source>Status:N/A</source>
        <translation>Status:N/A</translation>
    </message>
</context>
<context>
    <name>ExcelPrintfDlg</name>
    <message>
        <source>Export Excel statistical report</source>
        <translation>Export Excel statistical report</translation>
    </message>
    <message>
        <source>选择文件</source>
        <translation>选择文件</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>File path</source>
        <translation>File path</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Select multiple file dialog box!</source>
        <translation>Select multiple file dialog box!</translation>
    </message>
    <message>
        <source>Export Excel file</source>
        <translation>导出 Excel 文件</translation>
    </message>
    <message>
        <source>Excel saved successfully</source>
        <translation>Excel saved successfully</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Excel save failed</source>
        <translation>Excel save failed</translation>
    </message>
    <message>
        <source>Nothing to export: none of the %1 chosen files could be read as a record.</source>
        <translation>没有可导出的内容：所选的 %1 个文件都无法作为记录读取。</translation>
    </message>
    <message>
        <source>Nothing to export: choose the record files first.</source>
        <translation>没有可导出的内容：请先选择记录文件。</translation>
    </message>
    <message>
        <source>No file was written.</source>
        <translation>未写入任何文件。</translation>
    </message>
</context>
<context>
    <name>Factory_735_Dlg</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>测试人员</source>
        <translation>测试人员</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>测试个数</source>
        <translation>测试个数</translation>
    </message>
    <message>
        <source>成功个数</source>
        <translation>成功个数</translation>
    </message>
    <message>
        <source>失败个数</source>
        <translation>失败个数</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>数据</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>曲线</translation>
    </message>
    <message>
        <source>Unit 1</source>
        <translation>单元 1</translation>
    </message>
    <message>
        <source>Unit 2</source>
        <translation>单元 2</translation>
    </message>
    <message>
        <source>Unit 3</source>
        <translation>单元 3</translation>
    </message>
    <message>
        <source>Unit 4</source>
        <translation>单元 4</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Unit %1</source>
        <translation>单元 %1</translation>
    </message>
</context>
<context>
    <name>Factory_K350_Dlg</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>测试状态：</source>
        <translation>测试状态：</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>测试人员</source>
        <translation>测试人员</translation>
    </message>
    <message>
        <source>参考版本号</source>
        <translation>参考版本号</translation>
    </message>
    <message>
        <source>参考晶振</source>
        <translation>参考晶振</translation>
    </message>
    <message>
        <source>校准零偏</source>
        <translation>校准零偏</translation>
    </message>
    <message>
        <source>非STD显示</source>
        <translation>非STD显示</translation>
    </message>
    <message>
        <source>不测试串口1</source>
        <translation>不测试串口1</translation>
    </message>
    <message>
        <source>不测试串口</source>
        <translation>不测试串口</translation>
    </message>
    <message>
        <source>晶振</source>
        <translation>晶振</translation>
    </message>
    <message>
        <source>CPU电压</source>
        <translation>CPU电压</translation>
    </message>
    <message>
        <source>故障码1</source>
        <translation>故障码1</translation>
    </message>
    <message>
        <source>加表噪声</source>
        <translation>加表噪声</translation>
    </message>
    <message>
        <source>陀螺仪噪声</source>
        <translation>陀螺仪噪声</translation>
    </message>
    <message>
        <source>测试个数</source>
        <translation>测试个数</translation>
    </message>
    <message>
        <source>成功个数</source>
        <translation>成功个数</translation>
    </message>
    <message>
        <source>失败个数</source>
        <translation>失败个数</translation>
    </message>
    <message>
        <source>Temperature:</source>
        <translation>Temperature:</translation>
    </message>
    <message>
        <source>Serial port 1:</source>
        <translation>Serial port 1:</translation>
    </message>
    <message>
        <source>Serial port 2:</source>
        <translation>Serial port 2:</translation>
    </message>
    <message>
        <source>Zero bias:</source>
        <translation>Zero bias:</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Good</translation>
    </message>
</context>
<context>
    <name>FileRead</name>
    <message>
        <source>larger than %1 MB, more than such a file can hold</source>
        <translation>大于 %1 MB，超出此类文件的容量</translation>
    </message>
    <message>
        <source>a named pipe (FIFO), not a regular file</source>
        <translation>命名管道（FIFO），不是普通文件</translation>
    </message>
    <message>
        <source>a folder, not a regular file</source>
        <translation>文件夹，不是普通文件</translation>
    </message>
    <message>
        <source>a device, not a regular file</source>
        <translation>设备，不是普通文件</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>不是普通文件</translation>
    </message>
    <message>
        <source>a file the system makes up (/proc, /sys and the like), not a regular file</source>
        <translation>系统生成的文件（/proc、/sys 等），不是普通文件</translation>
    </message>
</context>
<context>
    <name>FormWorkOrderDetails</name>
    <message>
        <source>工单号：</source>
        <translation>工单号：</translation>
    </message>
    <message>
        <source>WO2305120001</source>
        <translation>WO2305120001</translation>
    </message>
    <message>
        <source>操作人员：</source>
        <translation>操作人员：</translation>
    </message>
    <message>
        <source>operator</source>
        <translation>operator</translation>
    </message>
    <message>
        <source>设备：</source>
        <translation>设备：</translation>
    </message>
    <message>
        <source>温箱</source>
        <translation>温箱</translation>
    </message>
    <message>
        <source>Work order information configuration</source>
        <translation>Work order information configuration</translation>
    </message>
</context>
<context>
    <name>FrmShowLog</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Log display interface</source>
        <translation>Log display interface</translation>
    </message>
</context>
<context>
    <name>IMU_Screening_Dlg</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>16筛选</source>
        <translation>16筛选</translation>
    </message>
    <message>
        <source>对照固件版本</source>
        <translation>对照固件版本</translation>
    </message>
    <message>
        <source>硬件版本</source>
        <translation>硬件版本</translation>
    </message>
    <message>
        <source>底板版本</source>
        <translation>底板版本</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>测试个数</source>
        <translation>测试个数</translation>
    </message>
    <message>
        <source>成功个数</source>
        <translation>成功个数</translation>
    </message>
    <message>
        <source>失败个数</source>
        <translation>失败个数</translation>
    </message>
    <message>
        <source>lp_type</source>
        <translation>lp_type</translation>
    </message>
    <message>
        <source>lp_type every module must report</source>
        <translation>每个模块都应上报的 lp_type</translation>
    </message>
    <message>
        <source>stream_mode</source>
        <translation>stream_mode</translation>
    </message>
    <message>
        <source>stream_mode module 1 must report</source>
        <translation>模块 1 应上报的 stream_mode</translation>
    </message>
    <message>
        <source>sys_clk</source>
        <translation>sys_clk</translation>
    </message>
    <message>
        <source>sys_clk every module must report (Hz)</source>
        <translation>每个模块都应上报的 sys_clk (Hz)</translation>
    </message>
    <message>
        <source>Excel导出</source>
        <translation>Excel导出</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>The serial hardware has been disconnected, please reconnect!</source>
        <translation>The serial hardware has been disconnected, please reconnect!</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>The %1 limit does not take &quot;%2&quot;; the limit in force, %3, stays.</source>
        <translation>%1 限值不接受“%2”，仍使用当前限值 %3。</translation>
    </message>
    <message>
        <source>Storage error, the results were not saved: </source>
        <translation>存储错误，结果未保存：</translation>
    </message>
    <message>
        <source>Remind</source>
        <translation>Remind</translation>
    </message>
    <message>
        <source>We have measured 100 complete units again, and the current quantity is:%1，请检查!</source>
        <translation>We have measured 100 complete units again, and the current quantity is:%1，请检查!</translation>
    </message>
    <message>
        <source>Unable to establish database connection</source>
        <translation>Unable to establish database connection</translation>
    </message>
    <message>
        <source>Storage error: %1 of %2 results were stored; not stored: %3 (%4)</source>
        <translation>存储错误：%2 个结果中已保存 %1 个；未保存：%3（%4）</translation>
    </message>
    <message>
        <source>Not checked: %1</source>
        <translation>未检查：%1</translation>
    </message>
    <message>
        <source>The counts were not read again (%1); the last counts read stand.</source>
        <translation>未能重新读取计数（%1）；保留上次读取的计数。</translation>
    </message>
    <message>
        <source>screening log %1 is not open</source>
        <translation>筛选日志 %1 未打开</translation>
    </message>
    <message>
        <source>screening log line not written to %1 (%2)</source>
        <translation>筛选日志行未写入 %1（%2）</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>IMU test software</source>
        <translation>IMU test software</translation>
    </message>
    <message>
        <source>Module:</source>
        <translation>模块：</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>串口：</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Baud:</source>
        <translation>波特率：</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Start mode</source>
        <translation>启动模式</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>● Recording</source>
        <translation>● 正在记录</translation>
    </message>
    <message>
        <source>color:red</source>
        <translation>color:red</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Software:</source>
        <translation>软件：</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>Hardware:</source>
        <translation>硬件：</translation>
    </message>
    <message>
        <source>Board id:</source>
        <translation>板号：</translation>
    </message>
    <message>
        <source>Serial low:</source>
        <translation>序列号低位：</translation>
    </message>
    <message>
        <source>Serial high:</source>
        <translation>序列号高位：</translation>
    </message>
    <message>
        <source>Build date:</source>
        <translation>编译日期：</translation>
    </message>
    <message>
        <source>Protocol:</source>
        <translation>协议：</translation>
    </message>
    <message>
        <source>Major:</source>
        <translation>主版本：</translation>
    </message>
    <message>
        <source>Minor:</source>
        <translation>次版本：</translation>
    </message>
    <message>
        <source>Patch:</source>
        <translation>补丁：</translation>
    </message>
    <message>
        <source>Data decoding</source>
        <translation>Data decoding</translation>
    </message>
    <message>
        <source>Multi-IMU calibration</source>
        <translation>多IMU标定</translation>
    </message>
    <message>
        <source>IMU screening</source>
        <translation>IMU筛选</translation>
    </message>
    <message>
        <source>K350 quick test</source>
        <translation>K350快速测试</translation>
    </message>
    <message>
        <source>735 quick test</source>
        <translation>735快速测试</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>No serial port selected!</source>
        <translation>未选择串口！</translation>
    </message>
    <message>
        <source>Not recording: the link was opened again, its recording ended</source>
        <translation>未在记录：连接已重新打开，原记录已结束</translation>
    </message>
    <message>
        <source>Failed to open the serial port!</source>
        <translation>串口打开失败！</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Link lost: %1 (%2)</source>
        <translation>连接断开：%1（%2）</translation>
    </message>
    <message>
        <source>Not recording: recording stopped</source>
        <translation>未在记录：记录已停止</translation>
    </message>
    <message>
        <source>Not recording: no link is open</source>
        <translation>未在记录：没有打开的连接</translation>
    </message>
    <message>
        <source>Opening the recording file...</source>
        <translation>正在打开记录文件……</translation>
    </message>
    <message>
        <source>Recording to %1</source>
        <translation>正在记录到 %1</translation>
    </message>
    <message>
        <source>Not recording: %1</source>
        <translation>未在记录：%1</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>停止记录</translation>
    </message>
    <message>
        <source>Please confirm if the upper computer has been turned off</source>
        <translation>Please confirm if the upper computer has been turned off</translation>
    </message>
    <message>
        <source>%1 is running: closing the program stops it (the chamber is switched off).</source>
        <translation>%1正在运行：关闭程序将停止运行（温箱随之关闭）。</translation>
    </message>
    <message>
        <source>%1 is running: closing the program stops it.</source>
        <translation>%1正在运行：关闭程序将停止运行。</translation>
    </message>
    <message>
        <source>Confirm Dialog</source>
        <translation>Confirm Dialog</translation>
    </message>
    <message>
        <source>Not recording: the program is closing</source>
        <translation>未在记录：程序正在关闭</translation>
    </message>
</context>
<context>
    <name>MultiCalib</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>汇总</source>
        <translation>汇总</translation>
    </message>
    <message>
        <source>选择汇总页面显示项</source>
        <translation>选择汇总页面显示项</translation>
    </message>
    <message>
        <source>底板1</source>
        <translation>底板1</translation>
    </message>
    <message>
        <source>底板2</source>
        <translation>底板2</translation>
    </message>
    <message>
        <source>底板3</source>
        <translation>底板3</translation>
    </message>
    <message>
        <source>底板4</source>
        <translation>底板4</translation>
    </message>
    <message>
        <source>底板5</source>
        <translation>底板5</translation>
    </message>
    <message>
        <source>底板6</source>
        <translation>底板6</translation>
    </message>
    <message>
        <source>底板7</source>
        <translation>底板7</translation>
    </message>
    <message>
        <source>底板8</source>
        <translation>底板8</translation>
    </message>
    <message>
        <source>底板9</source>
        <translation>底板9</translation>
    </message>
    <message>
        <source>底板10</source>
        <translation>底板10</translation>
    </message>
    <message>
        <source>底板11</source>
        <translation>底板11</translation>
    </message>
    <message>
        <source>底板12</source>
        <translation>底板12</translation>
    </message>
    <message>
        <source>底板13</source>
        <translation>底板13</translation>
    </message>
    <message>
        <source>底板14</source>
        <translation>底板14</translation>
    </message>
    <message>
        <source>底板15</source>
        <translation>底板15</translation>
    </message>
    <message>
        <source>底板16</source>
        <translation>底板16</translation>
    </message>
    <message>
        <source>接口</source>
        <translation>接口</translation>
    </message>
    <message>
        <source>串口2：</source>
        <translation>串口2：</translation>
    </message>
    <message>
        <source>串口3：</source>
        <translation>串口3：</translation>
    </message>
    <message>
        <source>串口4：</source>
        <translation>串口4：</translation>
    </message>
    <message>
        <source>串口5：</source>
        <translation>串口5：</translation>
    </message>
    <message>
        <source>串口6：</source>
        <translation>串口6：</translation>
    </message>
    <message>
        <source>串口7：</source>
        <translation>串口7：</translation>
    </message>
    <message>
        <source>串口8：</source>
        <translation>串口8：</translation>
    </message>
    <message>
        <source>串口9：</source>
        <translation>串口9：</translation>
    </message>
    <message>
        <source>串口10：</source>
        <translation>串口10：</translation>
    </message>
    <message>
        <source>串口11：</source>
        <translation>串口11：</translation>
    </message>
    <message>
        <source>串口12：</source>
        <translation>串口12：</translation>
    </message>
    <message>
        <source>串口13：</source>
        <translation>串口13：</translation>
    </message>
    <message>
        <source>串口14：</source>
        <translation>串口14：</translation>
    </message>
    <message>
        <source>串口15：</source>
        <translation>串口15：</translation>
    </message>
    <message>
        <source>串口16：</source>
        <translation>串口16：</translation>
    </message>
    <message>
        <source>转台：</source>
        <translation>转台：</translation>
    </message>
    <message>
        <source>温箱：</source>
        <translation>温箱：</translation>
    </message>
    <message>
        <source>转台2：</source>
        <translation>转台2：</translation>
    </message>
    <message>
        <source>电源：</source>
        <translation>电源：</translation>
    </message>
    <message>
        <source>网络：</source>
        <translation>网络：</translation>
    </message>
    <message>
        <source>校准命令页面</source>
        <translation>校准命令页面</translation>
    </message>
    <message>
        <source>管理员设置</source>
        <translation>管理员设置</translation>
    </message>
    <message>
        <source>刷新串口</source>
        <translation>刷新串口</translation>
    </message>
    <message>
        <source>保存当前串口序号</source>
        <translation>保存当前串口序号</translation>
    </message>
    <message>
        <source>标定统计</source>
        <translation>标定统计</translation>
    </message>
    <message>
        <source>通过率</source>
        <translation>通过率</translation>
    </message>
    <message>
        <source>标定数量:</source>
        <translation>标定数量:</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>成功数量:</source>
        <translation>成功数量:</translation>
    </message>
    <message>
        <source>失败数量:</source>
        <translation>失败数量:</translation>
    </message>
    <message>
        <source>直通率:</source>
        <translation>直通率:</translation>
    </message>
    <message>
        <source>不良位置</source>
        <translation>不良位置</translation>
    </message>
    <message>
        <source>带转台温箱-自动</source>
        <translation>带转台温箱-自动</translation>
    </message>
    <message>
        <source>温箱状态</source>
        <translation>温箱状态</translation>
    </message>
    <message>
        <source>当前温度</source>
        <translation>当前温度</translation>
    </message>
    <message>
        <source>期望温度</source>
        <translation>期望温度</translation>
    </message>
    <message>
        <source>温度斜率</source>
        <translation>温度斜率</translation>
    </message>
    <message>
        <source>外框</source>
        <translation>外框</translation>
    </message>
    <message>
        <source>当前位置</source>
        <translation>当前位置</translation>
    </message>
    <message>
        <source>当前速率</source>
        <translation>当前速率</translation>
    </message>
    <message>
        <source>外框状态</source>
        <translation>外框状态</translation>
    </message>
    <message>
        <source>内框</source>
        <translation>内框</translation>
    </message>
    <message>
        <source>内框状态</source>
        <translation>内框状态</translation>
    </message>
    <message>
        <source>运行时间：</source>
        <translation>运行时间：</translation>
    </message>
    <message>
        <source>剩余时间：</source>
        <translation>剩余时间：</translation>
    </message>
    <message>
        <source>更新时间：</source>
        <translation>更新时间：</translation>
    </message>
    <message>
        <source>高级标定</source>
        <translation>高级标定</translation>
    </message>
    <message>
        <source>高级标定+复测</source>
        <translation>高级标定+复测</translation>
    </message>
    <message>
        <source>高级复测</source>
        <translation>高级复测</translation>
    </message>
    <message>
        <source>温箱自动</source>
        <translation>温箱自动</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>当前循环</source>
        <translation>当前循环</translation>
    </message>
    <message>
        <source>设定温度</source>
        <translation>设定温度</translation>
    </message>
    <message>
        <source>当前状态</source>
        <translation>当前状态</translation>
    </message>
    <message>
        <source>起始温度</source>
        <translation>起始温度</translation>
    </message>
    <message>
        <source>停止温度</source>
        <translation>停止温度</translation>
    </message>
    <message>
        <source>温度斜率(度/分钟)</source>
        <translation>温度斜率(度/分钟)</translation>
    </message>
    <message>
        <source>循环次数</source>
        <translation>循环次数</translation>
    </message>
    <message>
        <source>达到起始温度后停留(min)</source>
        <translation>达到起始温度后停留(min)</translation>
    </message>
    <message>
        <source>达到停止温度后停留(min)</source>
        <translation>达到停止温度后停留(min)</translation>
    </message>
    <message>
        <source>温补+复测</source>
        <translation>温补+复测</translation>
    </message>
    <message>
        <source>温度复测</source>
        <translation>温度复测</translation>
    </message>
    <message>
        <source>关闭温箱</source>
        <translation>关闭温箱</translation>
    </message>
    <message>
        <source>开始时间：N/A</source>
        <translation>开始时间：N/A</translation>
    </message>
    <message>
        <source>更新时间：N/A</source>
        <translation>更新时间：N/A</translation>
    </message>
    <message>
        <source>运行时间：N/A</source>
        <translation>运行时间：N/A</translation>
    </message>
    <message>
        <source>剩余时间：N/A</source>
        <translation>剩余时间：N/A</translation>
    </message>
    <message>
        <source>温箱手动</source>
        <translation>温箱手动</translation>
    </message>
    <message>
        <source>温度设定</source>
        <translation>温度设定</translation>
    </message>
    <message>
        <source>温度手动设定值</source>
        <translation>温度手动设定值</translation>
    </message>
    <message>
        <source>读取设定值</source>
        <translation>读取设定值</translation>
    </message>
    <message>
        <source>温度斜率设定</source>
        <translation>温度斜率设定</translation>
    </message>
    <message>
        <source>温度斜率(℃/min)</source>
        <translation>温度斜率(℃/min)</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>设定</source>
        <translation>设定</translation>
    </message>
    <message>
        <source>启动温箱</source>
        <translation>启动温箱</translation>
    </message>
    <message>
        <source>转台手动</source>
        <translation>转台手动</translation>
    </message>
    <message>
        <source>内框指令</source>
        <translation>内框指令</translation>
    </message>
    <message>
        <source>目标位置</source>
        <translation>目标位置</translation>
    </message>
    <message>
        <source>目标速率</source>
        <translation>目标速率</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>停车</source>
        <translation>停车</translation>
    </message>
    <message>
        <source>外框指令</source>
        <translation>外框指令</translation>
    </message>
    <message>
        <source>内框使能</source>
        <translation>内框使能</translation>
    </message>
    <message>
        <source>内框断使能</source>
        <translation>内框断使能</translation>
    </message>
    <message>
        <source>外框使能</source>
        <translation>外框使能</translation>
    </message>
    <message>
        <source>外框断使能</source>
        <translation>外框断使能</translation>
    </message>
    <message>
        <source>转台自动</source>
        <translation>转台自动</translation>
    </message>
    <message>
        <source>转台自动标定+复测</source>
        <translation>转台自动标定+复测</translation>
    </message>
    <message>
        <source> 正常测试</source>
        <translation> 正常测试</translation>
    </message>
    <message>
        <source>取消非线性测试</source>
        <translation>取消非线性测试</translation>
    </message>
    <message>
        <source>电源控制</source>
        <translation>电源控制</translation>
    </message>
    <message>
        <source>当前电压</source>
        <translation>当前电压</translation>
    </message>
    <message>
        <source>当前电流</source>
        <translation>当前电流</translation>
    </message>
    <message>
        <source>设定电压</source>
        <translation>设定电压</translation>
    </message>
    <message>
        <source>最大电流</source>
        <translation>最大电流</translation>
    </message>
    <message>
        <source>电源型号：N/A</source>
        <translation>电源型号：N/A</translation>
    </message>
    <message>
        <source>输出状态：未确认</source>
        <translation>输出状态：未确认</translation>
    </message>
    <message>
        <source>手动开电源</source>
        <translation>手动开电源</translation>
    </message>
    <message>
        <source>IMU</source>
        <translation>IMU</translation>
    </message>
    <message>
        <source>配置</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>保存屏蔽状态</source>
        <translation>保存屏蔽状态</translation>
    </message>
    <message>
        <source>读取屏蔽状态</source>
        <translation>读取屏蔽状态</translation>
    </message>
    <message>
        <source>显示日志信息</source>
        <translation>显示日志信息</translation>
    </message>
    <message>
        <source>温箱转台类型</source>
        <translation>温箱转台类型</translation>
    </message>
    <message>
        <source>TQ转台,普通温箱</source>
        <translation>TQ转台,普通温箱</translation>
    </message>
    <message>
        <source>JH转台,普通温箱</source>
        <translation>JH转台,普通温箱</translation>
    </message>
    <message>
        <source>BR转台,普通温箱</source>
        <translation>BR转台,普通温箱</translation>
    </message>
    <message>
        <source>TQ带温箱转台</source>
        <translation>TQ带温箱转台</translation>
    </message>
    <message>
        <source>BR带温箱转台</source>
        <translation>BR带温箱转台</translation>
    </message>
    <message>
        <source>自动开启数据流</source>
        <translation>自动开启数据流</translation>
    </message>
    <message>
        <source>选择移除页数</source>
        <translation>选择移除页数</translation>
    </message>
    <message>
        <source>移除页数</source>
        <translation>移除页数</translation>
    </message>
    <message>
        <source>添加页数</source>
        <translation>添加页数</translation>
    </message>
    <message>
        <source>回放文件</source>
        <translation>回放文件</translation>
    </message>
    <message>
        <source>慢速</source>
        <translation>慢速</translation>
    </message>
    <message>
        <source>中速</source>
        <translation>中速</translation>
    </message>
    <message>
        <source>快速</source>
        <translation>快速</translation>
    </message>
    <message>
        <source>全速</source>
        <translation>全速</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>选择回放进度</source>
        <translation>选择回放进度</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>回放进度</source>
        <translation>回放进度</translation>
    </message>
    <message>
        <source>N/A %</source>
        <translation>N/A %</translation>
    </message>
    <message>
        <source>读取文件路径</source>
        <translation>读取文件路径</translation>
    </message>
    <message>
        <source>手动上传MES</source>
        <translation>手动上传MES</translation>
    </message>
    <message>
        <source>高级AllanMES上传</source>
        <translation>高级AllanMES上传</translation>
    </message>
    <message>
        <source>温度复测MES上传</source>
        <translation>温度复测MES上传</translation>
    </message>
    <message>
        <source>无温箱转台MES上传</source>
        <translation>无温箱转台MES上传</translation>
    </message>
    <message>
        <source>高级标定MES上传</source>
        <translation>高级标定MES上传</translation>
    </message>
    <message>
        <source>全温测试MES上传</source>
        <translation>全温测试MES上传</translation>
    </message>
    <message>
        <source>普通AllanMES上传</source>
        <translation>普通AllanMES上传</translation>
    </message>
    <message>
        <source>重发待上传结果</source>
        <translation>重发待上传结果</translation>
    </message>
    <message>
        <source>No results waiting to upload</source>
        <translation>没有待上传的结果</translation>
    </message>
    <message>
        <source>上传日志到FTP</source>
        <translation>上传日志到FTP</translation>
    </message>
    <message>
        <source>一键转台测试</source>
        <translation>一键转台测试</translation>
    </message>
    <message>
        <source>一键标定+复测</source>
        <translation>一键标定+复测</translation>
    </message>
    <message>
        <source>一键转台标定</source>
        <translation>一键转台标定</translation>
    </message>
    <message>
        <source>一键转台复测</source>
        <translation>一键转台复测</translation>
    </message>
    <message>
        <source>标度因子测试</source>
        <translation>标度因子测试</translation>
    </message>
    <message>
        <source>加速度计+陀螺仪标定</source>
        <translation>加速度计+陀螺仪标定</translation>
    </message>
    <message>
        <source>加速度计+陀螺仪复测</source>
        <translation>加速度计+陀螺仪复测</translation>
    </message>
    <message>
        <source>陀螺非线性标定</source>
        <translation>陀螺非线性标定</translation>
    </message>
    <message>
        <source>陀螺非线性复测</source>
        <translation>陀螺非线性复测</translation>
    </message>
    <message>
        <source>加表非线性标定</source>
        <translation>加表非线性标定</translation>
    </message>
    <message>
        <source>加表非线性复测</source>
        <translation>加表非线性复测</translation>
    </message>
    <message>
        <source>Accelerometer calibration</source>
        <translation>加速度计标定</translation>
    </message>
    <message>
        <source>Gyro calibration</source>
        <translation>陀螺标定</translation>
    </message>
    <message>
        <source>Constant-temperature rotation</source>
        <translation>恒温转动</translation>
    </message>
    <message>
        <source>转台无响应，取消标定!</source>
        <translation>转台无响应，取消标定!</translation>
    </message>
    <message>
        <source>转台跟踪异常，取消标定!</source>
        <translation>转台跟踪异常，取消标定!</translation>
    </message>
    <message>
        <source>%1小时%2分钟%3秒</source>
        <translation>%1小时%2分钟%3秒</translation>
    </message>
    <message>
        <source>Power supply model:UNKNOWN</source>
        <translation>Power supply model:UNKNOWN</translation>
    </message>
    <message>
        <source>Power supply model:3030（限压31V,限流31A）</source>
        <translation>Power supply model:3030（限压31V,限流31A）</translation>
    </message>
    <message>
        <source>Power supply model:3020（限压31V,限流21A）</source>
        <translation>Power supply model:3020（限压31V,限流21A）</translation>
    </message>
    <message>
        <source>Power supply model:4520（限压45.5V,限流20.5A）</source>
        <translation>Power supply model:4520（限压45.5V,限流20.5A）</translation>
    </message>
    <message>
        <source>Stop starting data flow</source>
        <translation>Stop starting data flow</translation>
    </message>
    <message>
        <source>Temperature box with turntable - automatic</source>
        <translation>Temperature box with turntable - automatic</translation>
    </message>
    <message>
        <source>Thermobox automatic</source>
        <translation>Thermobox automatic</translation>
    </message>
    <message>
        <source>Thermobox manual</source>
        <translation>温箱手动</translation>
    </message>
    <message>
        <source>Turntable manual</source>
        <translation>转台手动</translation>
    </message>
    <message>
        <source>Automatic turntable</source>
        <translation>Automatic turntable</translation>
    </message>
    <message>
        <source>Power Control</source>
        <translation>Power Control</translation>
    </message>
    <message>
        <source>Bottom plate 9</source>
        <translation>Bottom plate 9</translation>
    </message>
    <message>
        <source>Bottom plate 10</source>
        <translation>Bottom plate 10</translation>
    </message>
    <message>
        <source>Bottom plate 11</source>
        <translation>Bottom plate 11</translation>
    </message>
    <message>
        <source>Bottom plate 12</source>
        <translation>Bottom plate 12</translation>
    </message>
    <message>
        <source>Bottom plate 13</source>
        <translation>Bottom plate 13</translation>
    </message>
    <message>
        <source>Bottom plate 14</source>
        <translation>Bottom plate 14</translation>
    </message>
    <message>
        <source>Bottom plate 15</source>
        <translation>Bottom plate 15</translation>
    </message>
    <message>
        <source>Bottom plate 16</source>
        <translation>Bottom plate 16</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>The full temperature calibration retest is completed. Please check if the retest flag is 16383</source>
        <translation>The full temperature calibration retest is completed. Please check if the retest flag is 16383</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Rotation rate cannot be 0!</source>
        <translation>Rotation rate cannot be 0!</translation>
    </message>
    <message>
        <source>The turntable serial port is not turned on</source>
        <translation>转台串口未打开</translation>
    </message>
    <message>
        <source>Administrator Password</source>
        <translation>Administrator Password</translation>
    </message>
    <message>
        <source>password:</source>
        <translation>password:</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>Password error, return to operator mode</source>
        <translation>Password error, return to operator mode</translation>
    </message>
    <message>
        <source>Enter administrator mode</source>
        <translation>Enter administrator mode</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Start running</source>
        <translation>Start running</translation>
    </message>
    <message>
        <source>Set target temperature:</source>
        <translation>Set target temperature:</translation>
    </message>
    <message>
        <source>Do you want to start automatic calibration and retesting of the turntable with a temperature box?</source>
        <translation>Do you want to start automatic calibration and retesting of the turntable with a temperature box?</translation>
    </message>
    <message>
        <source>Do you want to start automatic calibration of the turntable with a temperature box?</source>
        <translation>Do you want to start automatic calibration of the turntable with a temperature box?</translation>
    </message>
    <message>
        <source>Please save the data first</source>
        <translation>Please save the data first</translation>
    </message>
    <message>
        <source>Do you want to start automatic retesting with a temperature box turntable?</source>
        <translation>Do you want to start automatic retesting with a temperature box turntable?</translation>
    </message>
    <message>
        <source>chamber not answering</source>
        <translation>温箱无应答</translation>
    </message>
    <message>
        <source>%1小时%2分钟</source>
        <translation>%1小时%2分钟</translation>
    </message>
    <message>
        <source>rotation failed: %1</source>
        <translation>转动失败：%1</translation>
    </message>
    <message>
        <source>The constant-temperature rotation failed (%1), the run is stopped and nothing is uploaded</source>
        <translation>恒温转动失败（%1），运行已停止，不上传任何结果</translation>
    </message>
    <message>
        <source>Constant temperature rotation completed,go to </source>
        <translation>Constant temperature rotation completed,go to </translation>
    </message>
    <message>
        <source>degrees.</source>
        <translation>degrees.</translation>
    </message>
    <message>
        <source>Calibration completed, start retesting</source>
        <translation>Calibration completed, start retesting</translation>
    </message>
    <message>
        <source>Start retesting after 1 minute</source>
        <translation>Start retesting after 1 minute</translation>
    </message>
    <message>
        <source>Done, heat up to room temperature!</source>
        <translation>Done, heat up to room temperature!</translation>
    </message>
    <message>
        <source>Turn off the temperature box</source>
        <translation>Turn off the temperature box</translation>
    </message>
    <message>
        <source>The serial port number of the incubator conflicts</source>
        <translation>The serial port number of the incubator conflicts</translation>
    </message>
    <message>
        <source>chamber link closed</source>
        <translation>温箱连接已关闭</translation>
    </message>
    <message>
        <source>Chamber: link lost (%1), please reconnect</source>
        <translation>温箱：连接断开（%1），请重新连接</translation>
    </message>
    <message>
        <source>chamber link lost</source>
        <translation>温箱连接断开</translation>
    </message>
    <message>
        <source>The incubator serial port is not turned on</source>
        <translation>温箱串口未打开</translation>
    </message>
    <message>
        <source>stopped by the operator</source>
        <translation>操作员停止</translation>
    </message>
    <message>
        <source>Set temperature (设定温度): &quot;%1&quot; is not a number from %2 to %3</source>
        <translation>Set temperature (设定温度): &quot;%1&quot; is not a number from %2 to %3</translation>
    </message>
    <message>
        <source>The chamber takes a slope of at most %1 °C/min</source>
        <translation>温箱的温度斜率最大为 %1 °C/min</translation>
    </message>
    <message>
        <source>Update time:</source>
        <translation>Update time:</translation>
    </message>
    <message>
        <source> - chamber log not written</source>
        <translation> - 温箱日志未写入</translation>
    </message>
    <message>
        <source>Start time:</source>
        <translation>Start time:</translation>
    </message>
    <message>
        <source> - supply log not written</source>
        <translation> - 电源日志未写入</translation>
    </message>
    <message>
        <source>Chamber log line not written: %1</source>
        <translation>温箱日志行未写入：%1</translation>
    </message>
    <message>
        <source>DC supply log line not written: %1</source>
        <translation>直流电源日志行未写入：%1</translation>
    </message>
    <message>
        <source>The serial port number of the power supply conflicts</source>
        <translation>The serial port number of the power supply conflicts</translation>
    </message>
    <message>
        <source>DC supply link closed</source>
        <translation>直流电源连接已关闭</translation>
    </message>
    <message>
        <source>DC supply: link lost (%1), please reconnect</source>
        <translation>直流电源：连接断开（%1），请重新连接</translation>
    </message>
    <message>
        <source>DC supply link lost</source>
        <translation>直流电源连接断开</translation>
    </message>
    <message>
        <source>DC supply did not confirm power on</source>
        <translation>直流电源未确认上电</translation>
    </message>
    <message>
        <source>DC supply did not confirm power off</source>
        <translation>直流电源未确认断电</translation>
    </message>
    <message>
        <source>DC supply did not confirm the manual power on</source>
        <translation>直流电源未确认手动上电</translation>
    </message>
    <message>
        <source>DC supply did not confirm the manual power off</source>
        <translation>直流电源未确认手动断电</translation>
    </message>
    <message>
        <source>Output: not confirmed since the link opened</source>
        <translation>输出：连接打开后尚未确认</translation>
    </message>
    <message>
        <source>Output: on (last confirmed by the supply)</source>
        <translation>输出：开（电源最后确认）</translation>
    </message>
    <message>
        <source>Output: off (last confirmed by the supply)</source>
        <translation>输出：关（电源最后确认）</translation>
    </message>
    <message>
        <source>The power serial port is not turned on</source>
        <translation>The power serial port is not turned on</translation>
    </message>
    <message>
        <source>Are you sure to turn on the power supply?</source>
        <translation>Are you sure to turn on the power supply?</translation>
    </message>
    <message>
        <source>Are you sure you need such a high voltage? Unless using DC-DC</source>
        <translation>Are you sure you need such a high voltage? Unless using DC-DC</translation>
    </message>
    <message>
        <source>Manual power off</source>
        <translation>Manual power off</translation>
    </message>
    <message>
        <source>Manual power on</source>
        <translation>Manual power on</translation>
    </message>
    <message>
        <source>Plate %1 link lost during the run: its IMUs are no longer in the run</source>
        <translation>运行中底板%1连接断开：其IMU已退出本次运行</translation>
    </message>
    <message>
        <source>Plate 1: link lost (%1), please reconnect</source>
        <translation>底板1：连接断开（%1），请重新连接</translation>
    </message>
    <message>
        <source>Plate %1: link lost (%2), please reconnect</source>
        <translation>底板%1：连接断开（%2），请重新连接</translation>
    </message>
    <message>
        <source>Serial port number conflict of the turntable</source>
        <translation>Serial port number conflict of the turntable</translation>
    </message>
    <message>
        <source>turntable link closed</source>
        <translation>转台连接已关闭</translation>
    </message>
    <message>
        <source>Turntable: link lost (%1), please reconnect</source>
        <translation>转台：连接断开（%1），请重新连接</translation>
    </message>
    <message>
        <source>turntable link lost</source>
        <translation>转台连接断开</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>Serial port number conflicts on the network</source>
        <translation>Serial port number conflicts on the network</translation>
    </message>
    <message>
        <source>Base-board link: link lost (%1), please reconnect</source>
        <translation>底板通信：连接断开（%1），请重新连接</translation>
    </message>
    <message>
        <source>all links closed</source>
        <translation>所有连接已关闭</translation>
    </message>
    <message>
        <source>Serial port number conflict for serial port </source>
        <translation>Serial port number conflict for serial port </translation>
    </message>
    <message>
        <source>program closed</source>
        <translation>程序已关闭</translation>
    </message>
    <message>
        <source>; %1 only in memory: the disk did not take it</source>
        <translation>；%1 条仅在内存中：磁盘未能写入</translation>
    </message>
    <message>
        <source>; %1 refused by the service (%2): mend the work order, then press &quot;Resend results&quot;</source>
        <translation>；%1 条被服务拒收（%2）：请修改工单后点击“重发待上传结果”</translation>
    </message>
    <message>
        <source>; %1 unreadable, set aside in %2</source>
        <translation>；%1 条无法读取，已移至 %2</translation>
    </message>
    <message>
        <source>The service refused the results (%1): they are set aside; mend the work order, then press &quot;Resend results&quot; on the configuration page</source>
        <translation>服务拒收了结果（%1）：结果已暂存；请修改工单后在配置页面点击“重发待上传结果”</translation>
    </message>
    <message>
        <source>The results did not reach the service and the disk did not take them: %1, of which %2 only in memory, written and posted again at the next pass</source>
        <translation>结果未送达服务，磁盘也未能写入：%1 条，其中 %2 条仅在内存中，下次重发时再写入并上传</translation>
    </message>
    <message>
        <source>The results did not reach the service and wait on disk: %1</source>
        <translation>结果未送达服务，在磁盘上等待上传：%1 条</translation>
    </message>
    <message>
        <source>These upload results could not be written to disk and are lost if the program closes now: %1</source>
        <translation>以下上传结果未能写入磁盘，现在关闭程序将会丢失：%1</translation>
    </message>
    <message>
        <source>Open data file</source>
        <translation>Open data file</translation>
    </message>
    <message>
        <source>data format (*.txt *.dat)</source>
        <translation>data format (*.txt *.dat)</translation>
    </message>
    <message>
        <source>Cool to room temperature, end after 30 minutes</source>
        <translation>Cool to room temperature, end after 30 minutes</translation>
    </message>
    <message>
        <source>Turntable calibration completed, please check the calibration flag position</source>
        <translation>Turntable calibration completed, please check the calibration flag position</translation>
    </message>
    <message>
        <source>The inner or outer frame is not enabled!</source>
        <translation>The inner or outer frame is not enabled!</translation>
    </message>
    <message>
        <source>%1 stopped: %2</source>
        <translation>%1已停止：%2</translation>
    </message>
    <message>
        <source>DC supply at the stop of %1: %2</source>
        <translation>%1停止时的直流电源：%2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>%1: the run is stopped and %2</source>
        <translation>%1：运行已停止，%2</translation>
    </message>
    <message>
        <source>Shield</source>
        <translation>Shield</translation>
    </message>
    <message>
        <source>位置指令</source>
        <translation>位置指令</translation>
    </message>
    <message>
        <source>速率指令</source>
        <translation>速率指令</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>类别</translation>
    </message>
    <message>
        <source>Bottom plate version number</source>
        <translation>Bottom plate version number</translation>
    </message>
    <message>
        <source>Bottom plate serial number</source>
        <translation>Bottom plate serial number</translation>
    </message>
    <message>
        <source>The number of loops must be greater than </source>
        <translation>循环次数必须大于 </translation>
    </message>
    <message>
        <source>Do you want to start running the automatic temperature retest script?</source>
        <translation>Do you want to start running the automatic temperature retest script?</translation>
    </message>
    <message>
        <source>Do you want to start running the automatic temperature compensation+retest script?</source>
        <translation>Do you want to start running the automatic temperature compensation+retest script?</translation>
    </message>
    <message>
        <source>Change in temperature compensation calibration parameters, do you want to save it?</source>
        <translation>Change in temperature compensation calibration parameters, do you want to save it?</translation>
    </message>
    <message>
        <source>Temperature compensation calibration parameters have been saved</source>
        <translation>Temperature compensation calibration parameters have been saved</translation>
    </message>
    <message>
        <source>Temperature compensation calibration parameters do not need to be saved</source>
        <translation>Temperature compensation calibration parameters do not need to be saved</translation>
    </message>
    <message>
        <source>Floor</source>
        <translation>Floor</translation>
    </message>
    <message>
        <source>,not installed properly, please reinstall or disable it</source>
        <translation>,not installed properly, please reinstall or disable it</translation>
    </message>
    <message>
        <source>The power will be turned off after 1 minute of starting</source>
        <translation>The power will be turned off after 1 minute of starting</translation>
    </message>
    <message>
        <source>%1 started</source>
        <translation>%1已启动</translation>
    </message>
    <message>
        <source>Chamber: &quot;%1&quot; = &quot;%2&quot; is not a number of seconds up to one day; %3 s used</source>
        <translation>温箱：“%1” = “%2” 不是一天以内的秒数；使用 %3 秒</translation>
    </message>
    <message>
        <source>Chamber: poll %1 missed (no temperature for %2 s); the run stops after %3 s of silence</source>
        <translation>温箱：第 %1 次查询无应答（%2 秒未收到温度）；无应答满 %3 秒后运行停止</translation>
    </message>
    <message>
        <source>Cannot start: not linked: %1</source>
        <translation>无法启动：未连接：%1</translation>
    </message>
    <message>
        <source>chamber did not reach %1 °C</source>
        <translation>温箱未达到 %1 °C</translation>
    </message>
    <message>
        <source>The chamber did not come within 1 °C of %1 °C in %2 min</source>
        <translation>温箱在 %2 分钟内未达到 %1 °C（±1 °C）</translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation>已停止：%1</translation>
    </message>
    <message>
        <source>Warm box slave mode</source>
        <translation>Warm box slave mode</translation>
    </message>
    <message>
        <source>Run time:</source>
        <translation>Run time:</translation>
    </message>
    <message>
        <source>Remaining time:</source>
        <translation>Remaining time:</translation>
    </message>
    <message>
        <source>Supply switch-off after the start cancelled: step switched the supply on</source>
        <translation>已取消启动后的电源关闭：测试步骤已打开电源</translation>
    </message>
    <message>
        <source>Temperature script completed</source>
        <translation>温度脚本已完成</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Temperature compensation calibration retest completed, please check the retest marker position</source>
        <translation>Temperature compensation calibration retest completed, please check the retest marker position</translation>
    </message>
    <message>
        <source>Please enter the necessary information for the work order!!!</source>
        <translation>Please enter the necessary information for the work order!!!</translation>
    </message>
    <message>
        <source>Results wait for the modules to take end code %1</source>
        <translation>等待模块接收结束码 %1 后上传结果</translation>
    </message>
    <message>
        <source>End code %1 taken by every reporting module</source>
        <translation>所有上报模块均已接收结束码 %1</translation>
    </message>
    <message>
        <source>End code %1 not confirmed: not every reporting module took it</source>
        <translation>结束码 %1 未确认：并非所有上报模块都已接收</translation>
    </message>
    <message>
        <source>Results posted from the modules&apos; reports after the run&apos;s last step</source>
        <translation>已按模块在最后一步之后的上报上传结果</translation>
    </message>
    <message>
        <source>Results posted from the modules&apos; reports after end code %1</source>
        <translation>已按模块在结束码 %1 之后的上报上传结果</translation>
    </message>
    <message>
        <source>Results posted from the modules&apos; last reports: end code %1 not confirmed</source>
        <translation>已按模块最后的上报上传结果：结束码 %1 未确认</translation>
    </message>
    <message>
        <source>Results posted from the modules&apos; last reports</source>
        <translation>已按模块最后的上报上传结果</translation>
    </message>
    <message>
        <source>nothing is uploaded</source>
        <translation>不上传任何结果</translation>
    </message>
    <message>
        <source>its results were posted at %1 and the service took them</source>
        <translation>结果已于 %1 上传，服务已接收</translation>
    </message>
    <message>
        <source>its results were posted at %1 and the service refused them: they are set aside until &quot;Resend results&quot; sends them again</source>
        <translation>结果已于 %1 上传，服务拒收：结果已暂存，点击“重发待上传结果”可再次上传</translation>
    </message>
    <message>
        <source>its results were posted at %1 and wait in the outbox</source>
        <translation>结果已于 %1 提交，正在待上传目录中等待</translation>
    </message>
    <message>
        <source>%1: no module reported during the run: nothing is uploaded</source>
        <translation>%1：运行期间没有模块上报，不上传任何结果</translation>
    </message>
    <message>
        <source>Set temperature: 25</source>
        <translation>Set temperature: 25</translation>
    </message>
    <message>
        <source>Go to:%1</source>
        <translation>前往：%1</translation>
    </message>
    <message>
        <source>Insulation:%1。剩余：%2s</source>
        <translation>Insulation:%1。剩余：%2s</translation>
    </message>
    <message>
        <source>End of insulation:%1</source>
        <translation>保温结束：%1</translation>
    </message>
    <message>
        <source>Insulation temperature: 25</source>
        <translation>Insulation temperature: 25</translation>
    </message>
    <message>
        <source>Insulation: 25. Remaining time:%1s</source>
        <translation>保温：25，剩余时间：%1秒</translation>
    </message>
    <message>
        <source>Production-data service: %1, the default: set httpAddr/officialAddr to the site&apos;s service</source>
        <translation>生产数据服务：%1（默认地址）：请在 httpAddr/officialAddr 中设置本厂的服务地址</translation>
    </message>
    <message>
        <source>Production-data service: %1</source>
        <translation>生产数据服务：%1</translation>
    </message>
    <message>
        <source>base-board links closed</source>
        <translation>底板连接已关闭</translation>
    </message>
    <message>
        <source>main link lost</source>
        <translation>主连接断开</translation>
    </message>
    <message>
        <source>base-board links lost</source>
        <translation>底板连接断开</translation>
    </message>
    <message>
        <source>Chamber</source>
        <translation>温箱</translation>
    </message>
    <message>
        <source>DC supply</source>
        <translation>直流电源</translation>
    </message>
    <message>
        <source>Plate %1</source>
        <translation>底板%1</translation>
    </message>
    <message>
        <source>Turntable</source>
        <translation>转台</translation>
    </message>
    <message>
        <source>Base-board</source>
        <translation>底板通信</translation>
    </message>
    <message>
        <source>Main link opened: linking the rack</source>
        <translation>主连接已打开：正在连接机架</translation>
    </message>
    <message>
        <source>%1 link opened</source>
        <translation>%1连接已打开</translation>
    </message>
    <message>
        <source>%1 link failed to open</source>
        <translation>%1连接打开失败</translation>
    </message>
    <message>
        <source>Station %1 results hold plates: %2</source>
        <translation>工位 %1 的结果包含底板：%2</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source> (plate links lost during the run: %1)</source>
        <translation>（运行中断开的底板：%1）</translation>
    </message>
    <message>
        <source>%1 was already stopping, also asked: %2</source>
        <translation>%1正在停止，又收到停止请求：%2</translation>
    </message>
    <message>
        <source>End code %1 shown by every reporting module</source>
        <translation>所有上报的模块都已显示结束码 %1</translation>
    </message>
    <message>
        <source>its results are being posted</source>
        <translation>结果正在上传</translation>
    </message>
    <message>
        <source>its results are being posted (sent at %1)</source>
        <translation>结果正在上传（%1 已发出）</translation>
    </message>
    <message>
        <source>%1: the links of the plates that reported were lost (plates %2): nothing is uploaded</source>
        <translation>%1：上报过的底板连接已断开（底板 %2）：不上传任何结果</translation>
    </message>
    <message>
        <source>G-value position %1</source>
        <translation>G值位置 %1</translation>
    </message>
    <message>
        <source>turntable not linked</source>
        <translation>转台未连接</translation>
    </message>
    <message>
        <source>not completed</source>
        <translation>未完成</translation>
    </message>
    <message>
        <source>Run stopped</source>
        <translation>运行已停止</translation>
    </message>
    <message>
        <source>Advanced retest completed</source>
        <translation>高级复测已完成</translation>
    </message>
    <message>
        <source>Chamber link closed</source>
        <translation>温箱连接已关闭</translation>
    </message>
    <message>
        <source>Plate %1 link closed</source>
        <translation>底板%1连接已关闭</translation>
    </message>
    <message>
        <source>Turntable link closed</source>
        <translation>转台连接已关闭</translation>
    </message>
    <message>
        <source>Base-board link closed</source>
        <translation>底板通信连接已关闭</translation>
    </message>
    <message>
        <source>Main link closed: every link of the rack closed</source>
        <translation>主连接已关闭：机架的所有连接均已关闭</translation>
    </message>
    <message>
        <source>FTP upload: no server address in the settings (ftp/serverAddress)</source>
        <translation>FTP 上传：设置中没有服务器地址（ftp/serverAddress）</translation>
    </message>
    <message>
        <source>FTP upload: a walk is already running</source>
        <translation>FTP 上传：已有一次遍历在进行</translation>
    </message>
    <message>
        <source>FTP upload of %1 to %2 started</source>
        <translation>开始将 %1 通过 FTP 上传到 %2</translation>
    </message>
    <message>
        <source>FTP upload finished: %1 sent, %2 skipped, %3 failed</source>
        <translation>FTP 上传结束：已发送 %1 个，跳过 %2 个，失败 %3 个</translation>
    </message>
    <message>
        <source>Cannot start: %1</source>
        <translation>无法启动：%1</translation>
    </message>
    <message>
        <source>DC supply not switched: %1</source>
        <translation>直流电源未切换：%1</translation>
    </message>
    <message>
        <source>DC supply for this run: %1</source>
        <translation>本次运行的直流电源：%1</translation>
    </message>
    <message>
        <source>the supply model is &quot;%1&quot;; the supply is switched on only with its model (3030, 3020 or 4520) chosen in the settings dialog</source>
        <translation>电源型号为“%1”；只有在参数设置对话框中选定型号（3030、3020 或 4520）后才打开电源</translation>
    </message>
    <message>
        <source>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the supply is switched on only at 12, 15 or 31 V</source>
        <translation>直流电源页的“%1”栏为“%2”；电源只在 12、15 或 31 V 时打开</translation>
    </message>
    <message>
        <source>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the supply is switched on only at a current above 0 A and not above %3 A, the limit of the %4 supply</source>
        <translation>直流电源页的“%1”栏为“%2”；电源只在电流大于 0 A 且不超过 %3 A（%4 电源的限流）时打开</translation>
    </message>
    <message>
        <source>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;, which is not a number</source>
        <translation>直流电源页的“%1”栏为“%2”，不是数字</translation>
    </message>
    <message>
        <source>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the smallest current the %3 supply can be set to is %4 A</source>
        <translation>直流电源页的“%1”栏为“%2”；%3 电源可设定的最小电流为 %4 A</translation>
    </message>
    <message>
        <source>Incorrect voltage value setting</source>
        <translation>Incorrect voltage value setting</translation>
    </message>
    <message>
        <source>Unknown power supply model, please confirm again</source>
        <translation>Unknown power supply model, please confirm again</translation>
    </message>
</context>
<context>
    <name>PDFPrintDlg</name>
    <message>
        <source>PDF report</source>
        <translation>PDF报告</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>加载</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>Export PDF file</source>
        <translation>Export PDF file</translation>
    </message>
    <message>
        <source>Nothing to export: load a folder of record files first.</source>
        <translation>没有可导出的内容：请先加载记录文件所在的文件夹。</translation>
    </message>
    <message>
        <source>Nothing to export: none of the %1 record files in %2 could be read as a record.</source>
        <translation>没有可导出的内容：%2 中的 %1 个记录文件都无法作为记录读取。</translation>
    </message>
    <message>
        <source>Nothing to export: %1 holds no record files (*.csv).</source>
        <translation>没有可导出的内容：%1 中没有记录文件 (*.csv)。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>No file was written.</source>
        <translation>未写入任何文件。</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Export successful</source>
        <translation>Export successful</translation>
    </message>
    <message>
        <source>Export failed:%1</source>
        <translation>Export failed:%1</translation>
    </message>
</context>
<context>
    <name>PdfReport</name>
    <message>
        <source>Please enter valid data!</source>
        <translation>Please enter valid data!</translation>
    </message>
    <message>
        <source>Please set a legal storage location!</source>
        <translation>Please set a legal storage location!</translation>
    </message>
    <message>
        <source>Cannot paint on %1</source>
        <translation>无法绘制到 %1</translation>
    </message>
</context>
<context>
    <name>ProductionRecord</name>
    <message>
        <source>%1 values where a record has %2</source>
        <translation>有 %1 个值，而一条记录应有 %2 个</translation>
    </message>
    <message>
        <source>%1 modules in the report; %2 files that could not be read as records are left out.</source>
        <translation>报告包含 %1 个模块；%2 个无法作为记录读取的文件未计入。</translation>
    </message>
</context>
<context>
    <name>QuickTestLog</name>
    <message>
        <source>result line not written to %1 (%2)</source>
        <translation>结果行未写入 %1（%2）</translation>
    </message>
</context>
<context>
    <name>QuickTestPage</name>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Unable to establish database connection</source>
        <translation>Unable to establish database connection</translation>
    </message>
    <message>
        <source>Storage error, the result was not saved: </source>
        <translation>存储错误，结果未保存：</translation>
    </message>
</context>
<context>
    <name>Reports</name>
    <message>
        <source>Folder does not exist: %1</source>
        <translation>文件夹不存在：%1</translation>
    </message>
    <message>
        <source>Folder is not writable: %1</source>
        <translation>文件夹不可写：%1</translation>
    </message>
    <message>
        <source>Nothing was written to %1</source>
        <translation>未向 %1 写入任何内容</translation>
    </message>
    <message>
        <source>Cannot replace %1</source>
        <translation>无法替换 %1</translation>
    </message>
    <message>
        <source>%1: the value in column %2 (%3) has %4 characters, more than a cell holds: only its first %5 are written</source>
        <translation>%1：第 %2 列（%3）的值有 %4 个字符，超出单元格容量：只写入前 %5 个</translation>
    </message>
    <message>
        <source>Cannot create the workbook</source>
        <translation>无法创建工作簿</translation>
    </message>
    <message>
        <source>Cannot write a cell</source>
        <translation>无法写入单元格</translation>
    </message>
</context>
<context>
    <name>RunGuard</name>
    <message>
        <source>Temperature compensation and retest script</source>
        <translation>温补+复测脚本</translation>
    </message>
    <message>
        <source>Temperature retest script</source>
        <translation>温度复测脚本</translation>
    </message>
    <message>
        <source>Advanced calibration</source>
        <translation>高级标定</translation>
    </message>
    <message>
        <source>Advanced calibration and retest</source>
        <translation>高级标定+复测</translation>
    </message>
    <message>
        <source>Advanced retest</source>
        <translation>高级复测</translation>
    </message>
    <message>
        <source>Static Allan retest</source>
        <translation>静态Allan复测</translation>
    </message>
    <message>
        <source>Advanced Allan retest</source>
        <translation>高级Allan复测</translation>
    </message>
    <message>
        <source>One-click turntable calibration</source>
        <translation>转台一键标定</translation>
    </message>
    <message>
        <source>turntable</source>
        <translation>转台</translation>
    </message>
    <message>
        <source>chamber</source>
        <translation>温箱</translation>
    </message>
    <message>
        <source>DC supply</source>
        <translation>直流电源</translation>
    </message>
    <message>
        <source>base boards</source>
        <translation>底板</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>%1 is running: stop it before starting another run</source>
        <translation>%1正在运行：请先停止，再启动其他运行</translation>
    </message>
    <message>
        <source>Plate links lost during the run: %1</source>
        <translation>运行中断开的底板：%1</translation>
    </message>
</context>
<context>
    <name>ScreeningRun</name>
    <message>
        <source>serial changed from %1 to %2</source>
        <translation>序列号由 %1 变为 %2</translation>
    </message>
    <message>
        <source>module %1: %2</source>
        <translation>模块 %1：%2</translation>
    </message>
    <message>
        <source>serial number %1 is also read by module %2</source>
        <translation>模块 %2 也读到序列号 %1</translation>
    </message>
    <message>
        <source>serial number %1 read by modules %2</source>
        <translation>模块 %2 读到同一序列号 %1</translation>
    </message>
    <message>
        <source>its counter never moved</source>
        <translation>其计数器始终未变化</translation>
    </message>
    <message>
        <source>its counter never ran</source>
        <translation>其计数器从未运行</translation>
    </message>
    <message>
        <source>no answer in tick count %1 to %2</source>
        <translation>计时 %1 至 %2 期间无应答</translation>
    </message>
    <message>
        <source>its counter stood still in tick count %1 to %2</source>
        <translation>计时 %1 至 %2 期间其计数器未变化</translation>
    </message>
    <message>
        <source>value %1, %2</source>
        <translation>值 %1，%2</translation>
    </message>
    <message>
        <source>module %1</source>
        <translation>模块 %1</translation>
    </message>
    <message>
        <source>limit %1</source>
        <translation>限值 %1</translation>
    </message>
    <message>
        <source>the board differs from %1 (%2)</source>
        <translation>本板与%1（%2）不一致</translation>
    </message>
    <message>
        <source>expected %1</source>
        <translation>应为 %1</translation>
    </message>
    <message>
        <source>the module reports without a serial number</source>
        <translation>模块有上报但没有序列号</translation>
    </message>
    <message>
        <source>%1 reports %2, limit %3</source>
        <translation>%1 上报 %2，限值 %3</translation>
    </message>
    <message>
        <source>limits %1 to %2</source>
        <translation>限值 %1 至 %2</translation>
    </message>
    <message>
        <source>2 is a failure</source>
        <translation>2 表示失败</translation>
    </message>
    <message>
        <source>limit below %1</source>
        <translation>限值：小于 %1</translation>
    </message>
    <message>
        <source>the module stopped answering: its place reads empty</source>
        <translation>模块已停止应答：其位置读数为空</translation>
    </message>
    <message>
        <source>the module&apos;s counter stopped</source>
        <translation>模块计数器已停止</translation>
    </message>
    <message>
        <source>not checked: %1</source>
        <translation>未检查：%1</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 至 %2</translation>
    </message>
    <message>
        <source>module %1 (%2)</source>
        <translation>模块 %1（%2）</translation>
    </message>
    <message>
        <source>modules %1 (%2)</source>
        <translation>模块 %1（%2）</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>参数设置</source>
        <translation>参数设置</translation>
    </message>
    <message>
        <source>转台参数设置</source>
        <translation>转台参数设置</translation>
    </message>
    <message>
        <source>自动标定转台运动时间(s)</source>
        <translation>自动标定转台运动时间(s)</translation>
    </message>
    <message>
        <source>标定加表时间(s)</source>
        <translation>标定加表时间(s)</translation>
    </message>
    <message>
        <source>标定陀螺时间(s)</source>
        <translation>标定陀螺时间(s)</translation>
    </message>
    <message>
        <source>标定陀螺非线性时间(s)</source>
        <translation>标定陀螺非线性时间(s)</translation>
    </message>
    <message>
        <source>标定加表非线性时间(s)</source>
        <translation>标定加表非线性时间(s)</translation>
    </message>
    <message>
        <source>温箱参数设置</source>
        <translation>温箱参数设置</translation>
    </message>
    <message>
        <source>温补复测改温度循环模式</source>
        <translation>温补复测改温度循环模式</translation>
    </message>
    <message>
        <source>温箱从机模式</source>
        <translation>温箱从机模式</translation>
    </message>
    <message>
        <source>打开IMU显示</source>
        <translation>打开IMU显示</translation>
    </message>
    <message>
        <source>实际降温速率</source>
        <translation>实际降温速率</translation>
    </message>
    <message>
        <source>其他设置</source>
        <translation>其他设置</translation>
    </message>
    <message>
        <source>静止复测倒计时（min）</source>
        <translation>静止复测倒计时（min）</translation>
    </message>
    <message>
        <source>电源型号</source>
        <translation>电源型号</translation>
    </message>
    <message>
        <source>UNKNOWN</source>
        <translation>UNKNOWN</translation>
    </message>
    <message>
        <source>3030（31V,31A）</source>
        <translation>3030（31V,31A）</translation>
    </message>
    <message>
        <source>3020（31V,21A）</source>
        <translation>3020（31V,21A）</translation>
    </message>
    <message>
        <source>4520（45.5V,20.5A）</source>
        <translation>4520（45.5V,20.5A）</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a whole number from 0 to 255.</source>
        <translation>%1：“%2”不是 0 到 255 之间的整数。</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number above 0.</source>
        <translation>%1：“%2”不是大于 0 的数。</translation>
    </message>
</context>
<context>
    <name>StatusText</name>
    <message>
        <source>Read timestamps</source>
        <translation>Read timestamps</translation>
    </message>
    <message>
        <source>Calibrate the gyroscope, please make sure it is stationary!</source>
        <translation>Calibrate the gyroscope, please make sure it is stationary!</translation>
    </message>
    <message>
        <source>Read gyroscope calibration results</source>
        <translation>Read gyroscope calibration results</translation>
    </message>
    <message>
        <source>Please enter your name</source>
        <translation>Please enter your name</translation>
    </message>
    <message>
        <source>No connection, waiting</source>
        <translation>No connection, waiting</translation>
    </message>
    <message>
        <source>During testing, please keep it stationary!</source>
        <translation>During testing, please keep it stationary!</translation>
    </message>
    <message>
        <source>Test passed</source>
        <translation>Test passed</translation>
    </message>
    <message>
        <source>Test failed, malfunction occurred</source>
        <translation>Test failed, malfunction occurred</translation>
    </message>
    <message>
        <source>The serial hardware has been disconnected, please reconnect!</source>
        <translation>The serial hardware has been disconnected, please reconnect!</translation>
    </message>
    <message>
        <source>Test interrupted, nothing was stored: please open the serial port</source>
        <translation>测试中断，未保存任何结果：请打开串口</translation>
    </message>
    <message>
        <source>Test interrupted, nothing was stored: the test page was left</source>
        <translation>测试中断，未保存任何结果：已离开测试页面</translation>
    </message>
    <message>
        <source>Testing with errors</source>
        <translation>Testing with errors</translation>
    </message>
    <message>
        <source>Testing, normal, please remain stationary</source>
        <translation>Testing, normal, please remain stationary</translation>
    </message>
    <message>
        <source>Test completed with errors</source>
        <translation>Test completed with errors</translation>
    </message>
    <message>
        <source>Test completed, normal</source>
        <translation>Test completed, normal</translation>
    </message>
    <message>
        <source>Board not tested: no data to judge, nothing was stored</source>
        <translation>底板未测试：没有可判定的数据，未保存任何结果</translation>
    </message>
    <message>
        <source>Please open the serial port</source>
        <translation>Please open the serial port</translation>
    </message>
    <message>
        <source>Waiting for the next test</source>
        <translation>Waiting for the next test</translation>
    </message>
    <message>
        <source>The current SN number has been successfully tested, and this failure will not be counted</source>
        <translation>The current SN number has been successfully tested, and this failure will not be counted</translation>
    </message>
    <message>
        <source>The current SN number has been successfully tested, and it is still successful this time, but there is no duplicate counting</source>
        <translation>The current SN number has been successfully tested, and it is still successful this time, but there is no duplicate counting</translation>
    </message>
    <message>
        <source>The current SN number has been tested, but it was not successful. This test was successful</source>
        <translation>The current SN number has been tested, but it was not successful. This test was successful</translation>
    </message>
    <message>
        <source>The current SN number has been tested, but both previous and current tests have failed</source>
        <translation>The current SN number has been tested, but both previous and current tests have failed</translation>
    </message>
</context>
<context>
    <name>TableView</name>
    <message>
        <source>整个底板</source>
        <translation>整个底板</translation>
    </message>
</context>
<context>
    <name>TempScript</name>
    <message>
        <source>Loops (循环次数)</source>
        <translation>Loops (循环次数)</translation>
    </message>
    <message>
        <source>Start temperature (起始温度)</source>
        <translation>Start temperature (起始温度)</translation>
    </message>
    <message>
        <source>Start soak minutes (达到起始温度后停留)</source>
        <translation>Start soak minutes (达到起始温度后停留)</translation>
    </message>
    <message>
        <source>Stop temperature (停止温度)</source>
        <translation>Stop temperature (停止温度)</translation>
    </message>
    <message>
        <source>Stop soak minutes (达到停止温度后停留)</source>
        <translation>Stop soak minutes (达到停止温度后停留)</translation>
    </message>
    <message>
        <source>Temperature slope (温度斜率)</source>
        <translation>Temperature slope (温度斜率)</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a whole number from %3 to %4</source>
        <translation>%1：“%2”不是 %3 到 %4 之间的整数</translation>
    </message>
    <message>
        <source>%1 hours %2 minutes</source>
        <translation>%1小时%2分钟</translation>
    </message>
    <message>
        <source>Temperature compensation</source>
        <translation>Temperature compensation</translation>
    </message>
    <message>
        <source>Retest</source>
        <translation>Retest</translation>
    </message>
    <message>
        <source>Stop soak ended early: every live IMU passed %1 °C</source>
        <translation>停止温度保温提前结束：所有在线IMU均已越过 %1 °C</translation>
    </message>
</context>
<context>
    <name>TurntableSequence</name>
    <message>
        <source>%1 started</source>
        <translation>%1已启动</translation>
    </message>
    <message>
        <source>Scale-factor test</source>
        <translation>标度因子测试</translation>
    </message>
    <message>
        <source>Accelerometer calibration</source>
        <translation>加速度计标定</translation>
    </message>
    <message>
        <source>Gyro calibration</source>
        <translation>陀螺标定</translation>
    </message>
    <message>
        <source>Gyro nonlinearity calibration</source>
        <translation>陀螺非线性标定</translation>
    </message>
    <message>
        <source>Accelerometer nonlinearity calibration</source>
        <translation>加速度计非线性标定</translation>
    </message>
    <message>
        <source>Accelerometer retest</source>
        <translation>加速度计复测</translation>
    </message>
    <message>
        <source>Gyro retest</source>
        <translation>陀螺复测</translation>
    </message>
    <message>
        <source>Gyro nonlinearity retest</source>
        <translation>陀螺非线性复测</translation>
    </message>
    <message>
        <source>Accelerometer nonlinearity retest</source>
        <translation>加速度计非线性复测</translation>
    </message>
    <message>
        <source>Turntable position test</source>
        <translation>转台位置测试</translation>
    </message>
    <message>
        <source>Turntable rate test</source>
        <translation>转台速率测试</translation>
    </message>
    <message>
        <source>Automatic gyro sequence</source>
        <translation>自动陀螺序列</translation>
    </message>
    <message>
        <source>Automatic accelerometer sequence</source>
        <translation>自动加速度计序列</translation>
    </message>
    <message>
        <source>Advanced gyro nonlinearity sequence</source>
        <translation>高级陀螺非线性序列</translation>
    </message>
    <message>
        <source>Advanced accelerometer nonlinearity sequence</source>
        <translation>高级加速度计非线性序列</translation>
    </message>
</context>
<context>
    <name>UploadOutbox</name>
    <message>
        <source>No results waiting to upload</source>
        <translation>没有待上传的结果</translation>
    </message>
    <message>
        <source>1 result waiting to upload</source>
        <translation>1 条结果待上传</translation>
    </message>
    <message>
        <source>%1 results waiting to upload</source>
        <translation>%1 条结果待上传</translation>
    </message>
    <message>
        <source>Upload %1: station %2 has no service path</source>
        <translation>上传 %1：工位 %2 没有服务路径</translation>
    </message>
    <message>
        <source>Upload %1 to %2: refused by the service, %3: set aside until &quot;Resend results&quot; sends it again</source>
        <translation>上传 %1 到 %2：服务拒收，%3：已暂存，点击“重发待上传结果”可再次上传</translation>
    </message>
    <message>
        <source> (could not move it to %1)</source>
        <translation>（无法移至 %1）</translation>
    </message>
    <message>
        <source>Upload %1 to %2: taken, %3</source>
        <translation>上传 %1 到 %2：已接收，%3</translation>
    </message>
    <message>
        <source> (could not mark it sent: it may be posted again)</source>
        <translation>（无法标记为已发送：可能会再次上传）</translation>
    </message>
    <message>
        <source>Upload %1 to %2 failed: %3: kept for a later try</source>
        <translation>上传 %1 到 %2 失败：%3：已保留，稍后重试</translation>
    </message>
    <message>
        <source>Upload of station %1: the result could not be kept on disk (%2): it is held in memory and written at the next pass</source>
        <translation>工位 %1 的上传：结果未能保存到磁盘（%2）：暂存在内存中，下次重发时写入</translation>
    </message>
    <message>
        <source>Upload %1: the result held in memory is now kept on disk</source>
        <translation>上传 %1：内存中的结果现已保存到磁盘</translation>
    </message>
    <message>
        <source>Posting again: %1</source>
        <translation>重新上传：%1</translation>
    </message>
    <message>
        <source>Posting again by hand: %1 refused by the service before</source>
        <translation>手动重新上传：%1 条之前被服务拒收</translation>
    </message>
    <message>
        <source>no answer in time</source>
        <translation>未及时应答</translation>
    </message>
    <message>
        <source>HTTP %1, the connection was cut in the middle of the answer</source>
        <translation>HTTP %1，应答中途连接被断开</translation>
    </message>
    <message>
        <source>HTTP %1, the reply is not JSON</source>
        <translation>HTTP %1，应答不是 JSON</translation>
    </message>
    <message>
        <source>(held in memory)</source>
        <translation>（内存中）</translation>
    </message>
    <message>
        <source>Upload %1: cannot read it (%2)</source>
        <translation>上传 %1：无法读取（%2）</translation>
    </message>
    <message>
        <source>the file is %1</source>
        <translation>文件%1</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>文件为空</translation>
    </message>
    <message>
        <source>the file is not JSON (%1)</source>
        <translation>文件不是 JSON（%1）</translation>
    </message>
    <message>
        <source>Upload %1: %2: %3</source>
        <translation>上传 %1：%2：%3</translation>
    </message>
    <message>
        <source>set aside in %1</source>
        <translation>已移到 %1</translation>
    </message>
    <message>
        <source>left where it is, not posted</source>
        <translation>留在原处，未上传</translation>
    </message>
    <message>
        <source>cannot make %1</source>
        <translation>无法创建 %1</translation>
    </message>
    <message>
        <source>the disk kept %1 of its %2 bytes</source>
        <translation>磁盘只保存了 %2 字节中的 %1 字节</translation>
    </message>
</context>
<context>
    <name>WorkerThread</name>
    <message>
        <source>Failed to open %1: %2</source>
        <translation>无法打开 %1：%2</translation>
    </message>
    <message>
        <source>Recording stopped</source>
        <translation>记录已停止</translation>
    </message>
    <message>
        <source>writing %1 failed: %2</source>
        <translation>写入 %1 失败：%2</translation>
    </message>
    <message>
        <source>Recording failed: %1</source>
        <translation>记录失败：%1</translation>
    </message>
    <message>
        <source>recording stopped</source>
        <translation>记录已停止</translation>
    </message>
    <message>
        <source>the link is not open</source>
        <translation>连接未打开</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>无法打开 %1：%2</translation>
    </message>
    <message>
        <source>Recording to %1</source>
        <translation>正在记录到 %1</translation>
    </message>
    <message>
        <source>the link was lost (%1)</source>
        <translation>连接断开（%1）</translation>
    </message>
    <message>
        <source>the link was closed</source>
        <translation>连接已关闭</translation>
    </message>
</context>
<context>
    <name>WorkerThread_DC_power</name>
    <message>
        <source>DC supply: control sequence abandoned</source>
        <translation>直流电源：控制序列已放弃</translation>
    </message>
    <message>
        <source>DC supply: frame failed: %1</source>
        <translation>直流电源：帧通信失败：%1</translation>
    </message>
    <message>
        <source>DC supply: power on not confirmed</source>
        <translation>直流电源：上电未确认</translation>
    </message>
    <message>
        <source>DC supply: power off not confirmed</source>
        <translation>直流电源：断电未确认</translation>
    </message>
    <message>
        <source>DC supply: failed to open %1: %2</source>
        <translation>直流电源：无法打开 %1：%2</translation>
    </message>
    <message>
        <source>DC supply: frame not sent, supply not connected</source>
        <translation>直流电源：帧未发送，电源未连接</translation>
    </message>
    <message>
        <source>DC supply: unknown control code %1</source>
        <translation>直流电源：未知控制码 %1</translation>
    </message>
    <message>
        <source>DC supply: no set frame to switch with</source>
        <translation>直流电源：没有可用于切换的设置帧</translation>
    </message>
    <message>
        <source>DC supply: command %1 sent to the plates; no live IMU to confirm it</source>
        <translation>直流电源：命令 %1 已发送到底板；没有在线的 IMU 可确认</translation>
    </message>
    <message>
        <source>DC supply: the plates did not take command %1 after 3 attempts</source>
        <translation>直流电源：尝试 3 次后底板仍未接受命令 %1</translation>
    </message>
</context>
<context>
    <name>WorkerThread_Multi</name>
    <message>
        <source>Plate %1: failed to open %2: %3</source>
        <translation>底板%1：无法打开 %2：%3</translation>
    </message>
    <message>
        <source>Plate %1: recording failed: %2</source>
        <translation>底板%1：记录失败：%2</translation>
    </message>
    <message>
        <source>Plate %1: recording to %2</source>
        <translation>底板%1：正在记录到 %2</translation>
    </message>
    <message>
        <source>Plate %1: recording stopped</source>
        <translation>底板%1：记录已停止</translation>
    </message>
</context>
<context>
    <name>WorkerThread_Replay</name>
    <message>
        <source>Cannot open file %1: %2</source>
        <translation>无法打开文件 %1：%2</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>无法打开文件 %1</translation>
    </message>
</context>
<context>
    <name>WorkerThread_ftp</name>
    <message>
        <source>No machine id: the upload is stopped</source>
        <translation>没有机器码：上传已停止</translation>
    </message>
    <message>
        <source>No FTP server address in the settings (ftp/serverAddress)</source>
        <translation>设置中没有 FTP 服务器地址（ftp/serverAddress）</translation>
    </message>
    <message>
        <source>login to %1:%2 failed: %3</source>
        <translation>登录 %1:%2 失败：%3</translation>
    </message>
    <message>
        <source>%1 upload finish: %2 sent, %3 skipped, %4 failed</source>
        <translation>%1 upload finish：已发送 %2 个，跳过 %3 个，失败 %4 个</translation>
    </message>
    <message>
        <source>upload of %1 failed: %2</source>
        <translation>%1 上传失败：%2</translation>
    </message>
    <message>
        <source>sent %1 of %2 bytes</source>
        <translation>已发送 %2 字节中的 %1 字节</translation>
    </message>
    <message>
        <source>the file changed during its transfer: %1 bytes sent, %2 bytes now</source>
        <translation>文件在传输过程中发生了变化：已发送 %1 字节，现为 %2 字节</translation>
    </message>
    <message>
        <source>server holds %1 of %2 bytes</source>
        <translation>服务器只保存了 %2 字节中的 %1 字节</translation>
    </message>
</context>
<context>
    <name>WorkerThread_hothouse</name>
    <message>
        <source>Chamber: connection failed: %1</source>
        <translation>温箱：连接失败：%1</translation>
    </message>
    <message>
        <source>Chamber: failed to open %1: %2</source>
        <translation>温箱：无法打开 %1：%2</translation>
    </message>
    <message>
        <source>Chamber: %1 not sent, chamber not connected</source>
        <translation>温箱：%1未发送，温箱未连接</translation>
    </message>
    <message>
        <source>Chamber: %1 failed: %2</source>
        <translation>温箱：%1失败：%2</translation>
    </message>
    <message>
        <source>Chamber: %1 gave no value</source>
        <translation>温箱：%1未返回数值</translation>
    </message>
    <message>
        <source>set point</source>
        <translation>设定温度</translation>
    </message>
    <message>
        <source>ramp rate</source>
        <translation>升降温速率</translation>
    </message>
    <message>
        <source>run</source>
        <translation>启动</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>set point read</source>
        <translation>读取设定温度</translation>
    </message>
    <message>
        <source>ramp rate read</source>
        <translation>读取升降温速率</translation>
    </message>
    <message>
        <source>temperature read</source>
        <translation>读取温度</translation>
    </message>
</context>
<context>
    <name>WorkerThread_hothouse2</name>
    <message>
        <source>Chamber: ramp rate %1 not sent, the chamber takes at most %2 °C/min</source>
        <translation>温箱：升降温速率 %1 未发送，温箱最大只接受 %2 °C/分钟</translation>
    </message>
</context>
<context>
    <name>WorkerThread_net</name>
    <message>
        <source>Base-board link: failed to open %1: %2</source>
        <translation>底板通信：无法打开 %1：%2</translation>
    </message>
</context>
<context>
    <name>WorkerThread_turn_table</name>
    <message>
        <source>Turntable: %1</source>
        <translation>转台：%1</translation>
    </message>
    <message>
        <source>Turntable: failed to open %1: %2</source>
        <translation>转台：无法打开 %1：%2</translation>
    </message>
    <message>
        <source>%1: turntable not connected</source>
        <translation>%1：转台未连接</translation>
    </message>
    <message>
        <source>turntable not connected</source>
        <translation>转台未连接</translation>
    </message>
    <message>
        <source>%1 is running</source>
        <translation>%1正在运行</translation>
    </message>
    <message>
        <source>%1 refused: %2</source>
        <translation>%1被拒绝：%2</translation>
    </message>
    <message>
        <source>%1 started</source>
        <translation>%1已启动</translation>
    </message>
    <message>
        <source>%1 completed</source>
        <translation>%1已完成</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1失败：%2</translation>
    </message>
    <message>
        <source>%1 stopped</source>
        <translation>%1已停止</translation>
    </message>
    <message>
        <source>Turntable: unknown command %1</source>
        <translation>转台：未知命令 %1</translation>
    </message>
    <message>
        <source>Turntable: unknown general command %1</source>
        <translation>转台：未知通用命令 %1</translation>
    </message>
    <message>
        <source>no sequence for advanced type %1</source>
        <translation>高级类型 %1 没有对应的序列</translation>
    </message>
    <message>
        <source>Rotation %1: %2</source>
        <translation>第 %1 次转动：%2</translation>
    </message>
    <message>
        <source>Constant-temperature rotation %1</source>
        <translation>第 %1 次恒温转动</translation>
    </message>
    <message>
        <source>Inner axis enable</source>
        <translation>内轴使能</translation>
    </message>
    <message>
        <source>Inner axis disable</source>
        <translation>内轴断开使能</translation>
    </message>
    <message>
        <source>Outer axis enable</source>
        <translation>外轴使能</translation>
    </message>
    <message>
        <source>Outer axis disable</source>
        <translation>外轴断开使能</translation>
    </message>
    <message>
        <source>%1 not sent: turntable not connected</source>
        <translation>%1未发送：转台未连接</translation>
    </message>
    <message>
        <source>%1 not sent: the controller line refused the write</source>
        <translation>%1未发送：控制器线路拒绝写入</translation>
    </message>
    <message>
        <source>%1: no answer from the controller</source>
        <translation>%1：控制器无应答</translation>
    </message>
    <message>
        <source>Inner axis enabled</source>
        <translation>内轴已使能</translation>
    </message>
    <message>
        <source>Inner axis disabled</source>
        <translation>内轴已断开使能</translation>
    </message>
    <message>
        <source>Outer axis enabled</source>
        <translation>外轴已使能</translation>
    </message>
    <message>
        <source>Outer axis disabled</source>
        <translation>外轴已断开使能</translation>
    </message>
</context>
<context>
    <name>multi_calib_cmd</name>
    <message>
        <source>校准命令页面</source>
        <translation>校准命令页面</translation>
    </message>
    <message>
        <source>color:rgb(0, 85, 255);</source>
        <translation>color:rgb(0, 85, 255);</translation>
    </message>
    <message>
        <source>底板通信</source>
        <translation>底板通信</translation>
    </message>
    <message>
        <source>底板IMU状态</source>
        <translation>底板IMU状态</translation>
    </message>
    <message>
        <source>网络：</source>
        <translation>网络：</translation>
    </message>
    <message>
        <source>转台：</source>
        <translation>转台：</translation>
    </message>
    <message>
        <source>温箱：</source>
        <translation>温箱：</translation>
    </message>
    <message>
        <source>转台2：</source>
        <translation>转台2：</translation>
    </message>
    <message>
        <source>电源：</source>
        <translation>电源：</translation>
    </message>
    <message>
        <source>QPushButton{color:rgb(0, 85, 255);border-color:rgb(122, 122, 122);border-width: 1px;border-style: solid;border-radius:5px;background-color:transparent;}QPushButton:hover{color:rgb(0, 170, 0);}QPushButton:pressed{background-color:rgba(0, 170, 255,30);}</source>
        <translation>QPushButton{color:rgb(0, 85, 255);border-color:rgb(122, 122, 122);border-width: 1px;border-style: solid;border-radius:5px;background-color:transparent;}QPushButton:hover{color:rgb(0, 170, 0);}QPushButton:pressed{background-color:rgba(0, 170, 255,30);}</translation>
    </message>
    <message>
        <source>Allan静止复测</source>
        <translation>Allan静止复测</translation>
    </message>
    <message>
        <source>高级Allan</source>
        <translation>高级Allan</translation>
    </message>
    <message>
        <source>常用标定</source>
        <translation>常用标定</translation>
    </message>
    <message>
        <source>加表标定</source>
        <translation>加表标定</translation>
    </message>
    <message>
        <source>加表陀螺校准</source>
        <translation>加表陀螺校准</translation>
    </message>
    <message>
        <source>陀螺标定</source>
        <translation>陀螺标定</translation>
    </message>
    <message>
        <source>加表陀螺复测</source>
        <translation>加表陀螺复测</translation>
    </message>
    <message>
        <source>开始温补</source>
        <translation>开始温补</translation>
    </message>
    <message>
        <source>结束温补</source>
        <translation>结束温补</translation>
    </message>
    <message>
        <source>温度复测开始</source>
        <translation>温度复测开始</translation>
    </message>
    <message>
        <source>温度复测结束</source>
        <translation>温度复测结束</translation>
    </message>
    <message>
        <source>陀螺非线性标定</source>
        <translation>陀螺非线性标定</translation>
    </message>
    <message>
        <source>加表非线性标定</source>
        <translation>加表非线性标定</translation>
    </message>
    <message>
        <source>陀螺非线性复测</source>
        <translation>陀螺非线性复测</translation>
    </message>
    <message>
        <source>加表非线性复测</source>
        <translation>加表非线性复测</translation>
    </message>
    <message>
        <source>转台自动标定</source>
        <translation>转台自动标定</translation>
    </message>
    <message>
        <source>转台自动复测</source>
        <translation>转台自动复测</translation>
    </message>
    <message>
        <source>转台一键转动</source>
        <translation>转台一键转动</translation>
    </message>
    <message>
        <source>KELVANTO_RESET</source>
        <translation>KELVANTO_RESET</translation>
    </message>
    <message>
        <source>ALLAN_IMU32</source>
        <translation>ALLAN_IMU32</translation>
    </message>
    <message>
        <source>内部测试用</source>
        <translation>内部测试用</translation>
    </message>
    <message>
        <source>清calib_flag</source>
        <translation>清calib_flag</translation>
    </message>
    <message>
        <source>标度因子测试</source>
        <translation>标度因子测试</translation>
    </message>
    <message>
        <source>设置单IMU</source>
        <translation>设置单IMU</translation>
    </message>
    <message>
        <source>G值1</source>
        <translation>G值1</translation>
    </message>
    <message>
        <source>G值2</source>
        <translation>G值2</translation>
    </message>
    <message>
        <source>G值3</source>
        <translation>G值3</translation>
    </message>
    <message>
        <source>G值4</source>
        <translation>G值4</translation>
    </message>
    <message>
        <source>多位置对转</source>
        <translation>多位置对转</translation>
    </message>
    <message>
        <source>递增角度</source>
        <translation>递增角度</translation>
    </message>
    <message>
        <source>静止时间</source>
        <translation>静止时间</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Turntable serial port data timeout of more than 5 seconds, please recheck</source>
        <translation>Turntable serial port data timeout of more than 5 seconds, please recheck</translation>
    </message>
    <message>
        <source>Please ensure that the turntable is balanced and the shaft is enabled to rotate!</source>
        <translation>Please ensure that the turntable is balanced and the shaft is enabled to rotate!</translation>
    </message>
    <message>
        <source>Please confirm that it is a temperature compensation, not a temperature retest!</source>
        <translation>Please confirm that it is a temperature compensation, not a temperature retest!</translation>
    </message>
    <message>
        <source>Please confirm that the temperature compensation has ended, not the temperature retest!</source>
        <translation>Please confirm that the temperature compensation has ended, not the temperature retest!</translation>
    </message>
    <message>
        <source>Please confirm that temperature retesting is starting!</source>
        <translation>Please confirm that temperature retesting is starting!</translation>
    </message>
    <message>
        <source>Please confirm that the temperature retest has ended!</source>
        <translation>Please confirm that the temperature retest has ended!</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Start multi position rotation</source>
        <translation>Start multi position rotation</translation>
    </message>
    <message>
        <source>Cannot start: not linked: %1</source>
        <translation>无法启动：未连接：%1</translation>
    </message>
    <message>
        <source>%1 stopped</source>
        <translation>%1已停止</translation>
    </message>
    <message>
        <source>The retest has ended: its results are posted now</source>
        <translation>复测已结束：现在上传结果</translation>
    </message>
    <message>
        <source>No module reported the end of the retest (58017) within %1 min of its command: the run is stopped and nothing is uploaded</source>
        <translation>发出命令后 %1 分钟内没有模块上报复测结束（58017）：运行已停止，不上传任何结果</translation>
    </message>
    <message>
        <source>After </source>
        <translation>After </translation>
    </message>
    <message>
        <source>min,start sending static retest commands in 5 minutes!！</source>
        <translation>min,start sending static retest commands in 5 minutes!！</translation>
    </message>
    <message>
        <source>Quiet timing for </source>
        <translation>Quiet timing for </translation>
    </message>
    <message>
        <source>minutes,then start sending commands. The upper computer can only be operated once at a time</source>
        <translation>minutes,then start sending commands. The upper computer can only be operated once at a time</translation>
    </message>
    <message>
        <source>Dispatch orders</source>
        <translation>Dispatch orders</translation>
    </message>
    <message>
        <source>ALlan static retest completed</source>
        <translation>ALlan static retest completed</translation>
    </message>
    <message>
        <source>ALlan static retest completed, please check the retest flag position</source>
        <translation>ALlan static retest completed, please check the retest flag position</translation>
    </message>
    <message>
        <source>Please save the original data</source>
        <translation>Please save the original data</translation>
    </message>
    <message>
        <source>Power off after 1min！Wait for 30 minutes after power outage</source>
        <translation>Power off after 1min！Wait for 30 minutes after power outage</translation>
    </message>
    <message>
        <source>Power off, insulation for 30 minutes after power off</source>
        <translation>Power off, insulation for 30 minutes after power off</translation>
    </message>
    <message>
        <source>Power on</source>
        <translation>Power on</translation>
    </message>
    <message>
        <source>1分钟后发送，等待calib_status状态改变后自动结束</source>
        <translation>1分钟后发送，等待calib_status状态改变后自动结束</translation>
    </message>
    <message>
        <source>Advanced ALlan static retest completed, please check if the flag is correct</source>
        <translation>Advanced ALlan static retest completed, please check if the flag is correct</translation>
    </message>
    <message>
        <source>no end report (58017) within %1 min of the retest command</source>
        <translation>复测命令发出后 %1 分钟内没有结束报告（58017）</translation>
    </message>
</context>
</TS>
