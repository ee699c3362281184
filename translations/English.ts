<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ConsoleLogic</name>
    <message>
        <source>Chamber run ended: cool to room temperature, end after 30 minutes</source>
        <translation>Chamber run ended: cool to room temperature, end after 30 minutes</translation>
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
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;Decode type:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>QComboBox{height:25px;border-radius:4px;background-color:rgba(120,140,130,60);font:11pt &quot;宋体&quot;;color:rgb(0,128,128);}
QComboBox::drop-down{width:20px;border:none;}</source>
        <translation>QComboBox{height:25px;border-radius:4px;background-color:rgba(120,140,130,60);font:11pt &quot;宋体&quot;;color:rgb(0,128,128);}
QComboBox::drop-down{width:20px;border:none;}</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;目标文件路径：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;Target path:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;源文件：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;Source file:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;目标文件：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;Target file:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
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
        <translation>Open file</translation>
    </message>
    <message>
        <source>数据解码</source>
        <translation>Decode</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;进度：&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;Progress:&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-family:&apos;宋体&apos;; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;状态：     N/A&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:9pt; font-weight:600; color:#0055ff;&quot;&gt;Status:     N/A&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Current file name</source>
        <translation>Beside source</translation>
    </message>
    <message>
        <source>Self selected path</source>
        <translation>Choose path</translation>
    </message>
    <message>
        <source>Open data file</source>
        <translation>Open data file</translation>
    </message>
    <message>
        <source>data format (*.txt *.dat *.TXT *.DAT)</source>
        <translation>data format (*.txt *.dat *.TXT *.DAT)</translation>
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
        <translation>Calib 256</translation>
    </message>
    <message>
        <source>Calibration 368</source>
        <translation>Calib 368</translation>
    </message>
    <message>
        <source>Calibration 1040</source>
        <translation>Calib 1040</translation>
    </message>
    <message>
        <source>Nine IMU</source>
        <translation>Nine IMU</translation>
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
        <translation>Cancel</translation>
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
        <translation>Select files</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
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
        <translation>Export</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Select multiple file dialog box!</source>
        <translation>Select multiple file dialog box!</translation>
    </message>
    <message>
        <source>Export Excel file</source>
        <translation>Export Excel file</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>Excel saved successfully</source>
        <translation>Excel saved successfully</translation>
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
        <translation>Nothing to export: none of the %1 chosen files could be read as a record.</translation>
    </message>
    <message>
        <source>Nothing to export: choose the record files first.</source>
        <translation>Nothing to export: choose the record files first.</translation>
    </message>
    <message>
        <source>No file was written.</source>
        <translation>No file was written.</translation>
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
        <translation>Operator</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>测试个数</source>
        <translation>Tested</translation>
    </message>
    <message>
        <source>成功个数</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败个数</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>Plots</translation>
    </message>
    <message>
        <source>Unit 1</source>
        <translation>Unit 1</translation>
    </message>
    <message>
        <source>Unit 2</source>
        <translation>Unit 2</translation>
    </message>
    <message>
        <source>Unit 3</source>
        <translation>Unit 3</translation>
    </message>
    <message>
        <source>Unit 4</source>
        <translation>Unit 4</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Unit %1</source>
        <translation>Unit %1</translation>
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
        <translation>Status:</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>测试人员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>参考版本号</source>
        <translation>Ref. version</translation>
    </message>
    <message>
        <source>参考晶振</source>
        <translation>Ref. crystal</translation>
    </message>
    <message>
        <source>校准零偏</source>
        <translation>Calibrate bias</translation>
    </message>
    <message>
        <source>非STD显示</source>
        <translation>Non-STD view</translation>
    </message>
    <message>
        <source>不测试串口1</source>
        <translation>Skip port 1</translation>
    </message>
    <message>
        <source>不测试串口</source>
        <translation>Skip ports</translation>
    </message>
    <message>
        <source>晶振</source>
        <translation>Crystal</translation>
    </message>
    <message>
        <source>CPU电压</source>
        <translation>CPU voltage</translation>
    </message>
    <message>
        <source>故障码1</source>
        <translation>Fault code 1</translation>
    </message>
    <message>
        <source>加表噪声</source>
        <translation>Accel noise</translation>
    </message>
    <message>
        <source>陀螺仪噪声</source>
        <translation>Gyro noise</translation>
    </message>
    <message>
        <source>测试个数</source>
        <translation>Tested</translation>
    </message>
    <message>
        <source>成功个数</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败个数</source>
        <translation>Failed</translation>
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
        <translation>larger than %1 MB, more than such a file can hold</translation>
    </message>
    <message>
        <source>a named pipe (FIFO), not a regular file</source>
        <translation>a named pipe (FIFO), not a regular file</translation>
    </message>
    <message>
        <source>a folder, not a regular file</source>
        <translation>a folder, not a regular file</translation>
    </message>
    <message>
        <source>a device, not a regular file</source>
        <translation>a device, not a regular file</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>a file the system makes up (/proc, /sys and the like), not a regular file</source>
        <translation>a file the system makes up (/proc, /sys and the like), not a regular file</translation>
    </message>
</context>
<context>
    <name>FormWorkOrderDetails</name>
    <message>
        <source>工单号：</source>
        <translation>Order:</translation>
    </message>
    <message>
        <source>WO2305120001</source>
        <translation>WO2305120001</translation>
    </message>
    <message>
        <source>操作人员：</source>
        <translation>Operator:</translation>
    </message>
    <message>
        <source>operator</source>
        <translation>operator</translation>
    </message>
    <message>
        <source>设备：</source>
        <translation>Rig:</translation>
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
        <translation>16 screening</translation>
    </message>
    <message>
        <source>对照固件版本</source>
        <translation>Ref. firmware</translation>
    </message>
    <message>
        <source>硬件版本</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>底板版本</source>
        <translation>Board version</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>测试个数</source>
        <translation>Tested</translation>
    </message>
    <message>
        <source>成功个数</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>失败个数</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Excel导出</source>
        <translation>Excel</translation>
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
        <source>Storage error, the results were not saved: </source>
        <translation>Storage error, the results were not saved: </translation>
    </message>
    <message>
        <source>Remind</source>
        <translation>Remind</translation>
    </message>
    <message>
        <source>We have measured 100 complete units again, and the current quantity is:%1，请检查!</source>
        <translation>Another 100 units passed; count now %1. Please check!</translation>
    </message>
    <message>
        <source>Unable to establish database connection</source>
        <translation>Unable to establish database connection</translation>
    </message>
    <message>
        <source>lp_type</source>
        <translation>lp_type</translation>
    </message>
    <message>
        <source>lp_type every module must report</source>
        <translation>lp_type every module must report</translation>
    </message>
    <message>
        <source>stream_mode</source>
        <translation>stream_mode</translation>
    </message>
    <message>
        <source>stream_mode module 1 must report</source>
        <translation>stream_mode module 1 must report</translation>
    </message>
    <message>
        <source>sys_clk</source>
        <translation>sys_clk</translation>
    </message>
    <message>
        <source>sys_clk every module must report (Hz)</source>
        <translation>sys_clk every module must report (Hz)</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>The %1 limit does not take &quot;%2&quot;; the limit in force, %3, stays.</source>
        <translation>The %1 limit does not take &quot;%2&quot;; the limit in force, %3, stays.</translation>
    </message>
    <message>
        <source>Storage error: %1 of %2 results were stored; not stored: %3 (%4)</source>
        <translation>Storage error: %1 of %2 results were stored; not stored: %3 (%4)</translation>
    </message>
    <message>
        <source>Not checked: %1</source>
        <translation>Not checked: %1</translation>
    </message>
    <message>
        <source>The counts were not read again (%1); the last counts read stand.</source>
        <translation>The counts were not read again (%1); the last counts read stand.</translation>
    </message>
    <message>
        <source>screening log %1 is not open</source>
        <translation>screening log %1 is not open</translation>
    </message>
    <message>
        <source>screening log line not written to %1 (%2)</source>
        <translation>screening log line not written to %1 (%2)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Data decoding</source>
        <translation>Data decoding</translation>
    </message>
    <message>
        <source>IMU test software</source>
        <translation>IMU test software</translation>
    </message>
    <message>
        <source>Module:</source>
        <translation>Module:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Baud:</source>
        <translation>Baud:</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Start mode</source>
        <translation>Start mode</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>● Recording</source>
        <translation>● Recording</translation>
    </message>
    <message>
        <source>color:red</source>
        <translation>color:red</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Software:</source>
        <translation>Software:</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>Hardware:</source>
        <translation>Hardware:</translation>
    </message>
    <message>
        <source>Board id:</source>
        <translation>Board id:</translation>
    </message>
    <message>
        <source>Serial low:</source>
        <translation>Serial low:</translation>
    </message>
    <message>
        <source>Serial high:</source>
        <translation>Serial high:</translation>
    </message>
    <message>
        <source>Build date:</source>
        <translation>Build date:</translation>
    </message>
    <message>
        <source>Protocol:</source>
        <translation>Protocol:</translation>
    </message>
    <message>
        <source>Major:</source>
        <translation>Major:</translation>
    </message>
    <message>
        <source>Minor:</source>
        <translation>Minor:</translation>
    </message>
    <message>
        <source>Patch:</source>
        <translation>Patch:</translation>
    </message>
    <message>
        <source>Multi-IMU calibration</source>
        <translation>Multi-IMU calibration</translation>
    </message>
    <message>
        <source>IMU screening</source>
        <translation>IMU screening</translation>
    </message>
    <message>
        <source>K350 quick test</source>
        <translation>K350 quick test</translation>
    </message>
    <message>
        <source>735 quick test</source>
        <translation>735 quick test</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>No serial port selected!</source>
        <translation>No serial port selected!</translation>
    </message>
    <message>
        <source>Failed to open the serial port!</source>
        <translation>Failed to open the serial port!</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>Confirm Dialog</source>
        <translation>Confirm Dialog</translation>
    </message>
    <message>
        <source>Please confirm if the upper computer has been turned off</source>
        <translation>Please confirm if the upper computer has been turned off</translation>
    </message>
    <message>
        <source>Not recording: the link was opened again, its recording ended</source>
        <translation>Not recording: the link was opened again, its recording ended</translation>
    </message>
    <message>
        <source>Link lost: %1 (%2)</source>
        <translation>Link lost: %1 (%2)</translation>
    </message>
    <message>
        <source>Not recording: recording stopped</source>
        <translation>Not recording: recording stopped</translation>
    </message>
    <message>
        <source>Not recording: no link is open</source>
        <translation>Not recording: no link is open</translation>
    </message>
    <message>
        <source>Opening the recording file...</source>
        <translation>Opening the recording file...</translation>
    </message>
    <message>
        <source>Recording to %1</source>
        <translation>Recording to %1</translation>
    </message>
    <message>
        <source>Not recording: %1</source>
        <translation>Not recording: %1</translation>
    </message>
    <message>
        <source>Not recording: the program is closing</source>
        <translation>Not recording: the program is closing</translation>
    </message>
    <message>
        <source>%1 is running: closing the program stops it (the chamber is switched off).</source>
        <translation>%1 is running: closing the program stops it (the chamber is switched off).</translation>
    </message>
    <message>
        <source>%1 is running: closing the program stops it.</source>
        <translation>%1 is running: closing the program stops it.</translation>
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
        <translation>Summary</translation>
    </message>
    <message>
        <source>选择汇总页面显示项</source>
        <translation>Summary item</translation>
    </message>
    <message>
        <source>底板1</source>
        <translation>Plate 1</translation>
    </message>
    <message>
        <source>底板2</source>
        <translation>Plate 2</translation>
    </message>
    <message>
        <source>底板3</source>
        <translation>Plate 3</translation>
    </message>
    <message>
        <source>底板4</source>
        <translation>Plate 4</translation>
    </message>
    <message>
        <source>底板5</source>
        <translation>Plate 5</translation>
    </message>
    <message>
        <source>底板6</source>
        <translation>Plate 6</translation>
    </message>
    <message>
        <source>底板7</source>
        <translation>Plate 7</translation>
    </message>
    <message>
        <source>底板8</source>
        <translation>Plate 8</translation>
    </message>
    <message>
        <source>底板9</source>
        <translation>Plate 9</translation>
    </message>
    <message>
        <source>底板10</source>
        <translation>Plate 10</translation>
    </message>
    <message>
        <source>底板11</source>
        <translation>Plate 11</translation>
    </message>
    <message>
        <source>底板12</source>
        <translation>Plate 12</translation>
    </message>
    <message>
        <source>底板13</source>
        <translation>Plate 13</translation>
    </message>
    <message>
        <source>底板14</source>
        <translation>Plate 14</translation>
    </message>
    <message>
        <source>底板15</source>
        <translation>Plate 15</translation>
    </message>
    <message>
        <source>底板16</source>
        <translation>Plate 16</translation>
    </message>
    <message>
        <source>接口</source>
        <translation>Ports</translation>
    </message>
    <message>
        <source>串口2：</source>
        <translation>Port 2:</translation>
    </message>
    <message>
        <source>串口3：</source>
        <translation>Port 3:</translation>
    </message>
    <message>
        <source>串口4：</source>
        <translation>Port 4:</translation>
    </message>
    <message>
        <source>串口5：</source>
        <translation>Port 5:</translation>
    </message>
    <message>
        <source>串口6：</source>
        <translation>Port 6:</translation>
    </message>
    <message>
        <source>串口7：</source>
        <translation>Port 7:</translation>
    </message>
    <message>
        <source>串口8：</source>
        <translation>Port 8:</translation>
    </message>
    <message>
        <source>串口9：</source>
        <translation>Port 9:</translation>
    </message>
    <message>
        <source>串口10：</source>
        <translation>Port 10:</translation>
    </message>
    <message>
        <source>串口11：</source>
        <translation>Port 11:</translation>
    </message>
    <message>
        <source>串口12：</source>
        <translation>Port 12:</translation>
    </message>
    <message>
        <source>串口13：</source>
        <translation>Port 13:</translation>
    </message>
    <message>
        <source>串口14：</source>
        <translation>Port 14:</translation>
    </message>
    <message>
        <source>串口15：</source>
        <translation>Port 15:</translation>
    </message>
    <message>
        <source>串口16：</source>
        <translation>Port 16:</translation>
    </message>
    <message>
        <source>转台：</source>
        <translation>Table:</translation>
    </message>
    <message>
        <source>温箱：</source>
        <translation>Chamber:</translation>
    </message>
    <message>
        <source>转台2：</source>
        <translation>Table 2:</translation>
    </message>
    <message>
        <source>电源：</source>
        <translation>Supply:</translation>
    </message>
    <message>
        <source>网络：</source>
        <translation>Base link:</translation>
    </message>
    <message>
        <source>校准命令页面</source>
        <translation>Command page</translation>
    </message>
    <message>
        <source>管理员设置</source>
        <translation>Administrator</translation>
    </message>
    <message>
        <source>刷新串口</source>
        <translation>Refresh ports</translation>
    </message>
    <message>
        <source>保存当前串口序号</source>
        <translation>Save port choices</translation>
    </message>
    <message>
        <source>标定统计</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>通过率</source>
        <translation>Pass rate</translation>
    </message>
    <message>
        <source>标定数量:</source>
        <translation>Calibrated:</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>成功数量:</source>
        <translation>Passed:</translation>
    </message>
    <message>
        <source>失败数量:</source>
        <translation>Failed:</translation>
    </message>
    <message>
        <source>直通率:</source>
        <translation>Yield:</translation>
    </message>
    <message>
        <source>不良位置</source>
        <translation>Failed positions</translation>
    </message>
    <message>
        <source>带转台温箱-自动</source>
        <translation>Chamber+table auto</translation>
    </message>
    <message>
        <source>温箱状态</source>
        <translation>Chamber status</translation>
    </message>
    <message>
        <source>当前温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>期望温度</source>
        <translation>Target temp.</translation>
    </message>
    <message>
        <source>温度斜率</source>
        <translation>Slope</translation>
    </message>
    <message>
        <source>运行时间：</source>
        <translation>Run time:</translation>
    </message>
    <message>
        <source>剩余时间：</source>
        <translation>Remaining:</translation>
    </message>
    <message>
        <source>更新时间：</source>
        <translation>Updated:</translation>
    </message>
    <message>
        <source>高级复测</source>
        <translation>Adv. retest</translation>
    </message>
    <message>
        <source>高级标定+复测</source>
        <translation>Adv. calib+retest</translation>
    </message>
    <message>
        <source>外框</source>
        <translation>Outer axis</translation>
    </message>
    <message>
        <source>当前位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>当前速率</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>外框状态</source>
        <translation>Outer status</translation>
    </message>
    <message>
        <source>内框</source>
        <translation>Inner axis</translation>
    </message>
    <message>
        <source>内框状态</source>
        <translation>Inner status</translation>
    </message>
    <message>
        <source>高级标定</source>
        <translation>Adv. calibration</translation>
    </message>
    <message>
        <source>温箱自动</source>
        <translation>Chamber auto</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>当前循环</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>设定温度</source>
        <translation>Set temp.</translation>
    </message>
    <message>
        <source>当前状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>起始温度</source>
        <translation>Start temp.</translation>
    </message>
    <message>
        <source>停止温度</source>
        <translation>Stop temp.</translation>
    </message>
    <message>
        <source>温度斜率(度/分钟)</source>
        <translation>Slope (°C/min)</translation>
    </message>
    <message>
        <source>循环次数</source>
        <translation>Loops</translation>
    </message>
    <message>
        <source>达到起始温度后停留(min)</source>
        <translation>Soak at start (min)</translation>
    </message>
    <message>
        <source>达到停止温度后停留(min)</source>
        <translation>Soak at stop (min)</translation>
    </message>
    <message>
        <source>关闭温箱</source>
        <translation>Chamber off</translation>
    </message>
    <message>
        <source>温补+复测</source>
        <translation>Comp.+retest</translation>
    </message>
    <message>
        <source>开始时间：N/A</source>
        <translation>Start: N/A</translation>
    </message>
    <message>
        <source>更新时间：N/A</source>
        <translation>Updated: N/A</translation>
    </message>
    <message>
        <source>运行时间：N/A</source>
        <translation>Run time: N/A</translation>
    </message>
    <message>
        <source>剩余时间：N/A</source>
        <translation>Remaining: N/A</translation>
    </message>
    <message>
        <source>温度复测</source>
        <translation>Temp. retest</translation>
    </message>
    <message>
        <source>温箱手动</source>
        <translation>Chamber manual</translation>
    </message>
    <message>
        <source>温度设定</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>读取设定值</source>
        <translation>Read set point</translation>
    </message>
    <message>
        <source>温度手动设定值</source>
        <translation>Set point</translation>
    </message>
    <message>
        <source>温度斜率设定</source>
        <translation>Slope</translation>
    </message>
    <message>
        <source>温度斜率(℃/min)</source>
        <translation>Slope (°C/min)</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>设定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>启动温箱</source>
        <translation>Chamber on</translation>
    </message>
    <message>
        <source>转台手动</source>
        <translation>Table manual</translation>
    </message>
    <message>
        <source>内框指令</source>
        <translation>Inner axis</translation>
    </message>
    <message>
        <source>停车</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>外框指令</source>
        <translation>Outer axis</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>目标速率</source>
        <translation>Target rate</translation>
    </message>
    <message>
        <source>目标位置</source>
        <translation>Target pos.</translation>
    </message>
    <message>
        <source>内框使能</source>
        <translation>Inner on</translation>
    </message>
    <message>
        <source>外框使能</source>
        <translation>Outer on</translation>
    </message>
    <message>
        <source>内框断使能</source>
        <translation>Inner off</translation>
    </message>
    <message>
        <source>外框断使能</source>
        <translation>Outer off</translation>
    </message>
    <message>
        <source>转台自动</source>
        <translation>Table auto</translation>
    </message>
    <message>
        <source>转台自动标定+复测</source>
        <translation>Table calib+retest</translation>
    </message>
    <message>
        <source>取消非线性测试</source>
        <translation>Skip nonlinear</translation>
    </message>
    <message>
        <source> 正常测试</source>
        <translation> Normal test</translation>
    </message>
    <message>
        <source>电源控制</source>
        <translation>Supply</translation>
    </message>
    <message>
        <source>当前电压</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>当前电流</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>最大电流</source>
        <translation>Max. current</translation>
    </message>
    <message>
        <source>设定电压</source>
        <translation>Set voltage</translation>
    </message>
    <message>
        <source>电源型号：N/A</source>
        <translation>Supply model: N/A</translation>
    </message>
    <message>
        <source>手动开电源</source>
        <translation>Supply on</translation>
    </message>
    <message>
        <source>IMU</source>
        <translation>IMU</translation>
    </message>
    <message>
        <source>配置</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source>保存屏蔽状态</source>
        <translation>Save shields</translation>
    </message>
    <message>
        <source>读取屏蔽状态</source>
        <translation>Load shields</translation>
    </message>
    <message>
        <source>显示日志信息</source>
        <translation>Show log</translation>
    </message>
    <message>
        <source>快速</source>
        <translation>Fast</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>全速</source>
        <translation>Full</translation>
    </message>
    <message>
        <source>回放文件</source>
        <translation>Replay file</translation>
    </message>
    <message>
        <source>慢速</source>
        <translation>Slow</translation>
    </message>
    <message>
        <source>中速</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>N/A %</source>
        <translation>N/A %</translation>
    </message>
    <message>
        <source>选择回放进度</source>
        <translation>Replay position</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>回放进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>读取文件路径</source>
        <translation>File path</translation>
    </message>
    <message>
        <source>移除页数</source>
        <translation>Remove page</translation>
    </message>
    <message>
        <source>添加页数</source>
        <translation>Add page</translation>
    </message>
    <message>
        <source>选择移除页数</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>温箱转台类型</source>
        <translation>Table type</translation>
    </message>
    <message>
        <source>TQ转台,普通温箱</source>
        <translation>TQ table, chamber</translation>
    </message>
    <message>
        <source>JH转台,普通温箱</source>
        <translation>JH table, chamber</translation>
    </message>
    <message>
        <source>BR转台,普通温箱</source>
        <translation>BR table, chamber</translation>
    </message>
    <message>
        <source>TQ带温箱转台</source>
        <translation>TQ chamber table</translation>
    </message>
    <message>
        <source>BR带温箱转台</source>
        <translation>BR chamber table</translation>
    </message>
    <message>
        <source>自动开启数据流</source>
        <translation>Auto stream</translation>
    </message>
    <message>
        <source>高级AllanMES上传</source>
        <translation>Adv. Allan upload</translation>
    </message>
    <message>
        <source>温度复测MES上传</source>
        <translation>Retest upload</translation>
    </message>
    <message>
        <source>无温箱转台MES上传</source>
        <translation>Table upload</translation>
    </message>
    <message>
        <source>高级标定MES上传</source>
        <translation>Adv. calib upload</translation>
    </message>
    <message>
        <source>全温测试MES上传</source>
        <translation>Full temp. upload</translation>
    </message>
    <message>
        <source>普通AllanMES上传</source>
        <translation>Allan upload</translation>
    </message>
    <message>
        <source>手动上传MES</source>
        <translation>MES upload</translation>
    </message>
    <message>
        <source>一键转台测试</source>
        <translation>One-click table test</translation>
    </message>
    <message>
        <source>一键标定+复测</source>
        <translation>One-click calib+retest</translation>
    </message>
    <message>
        <source>一键转台标定</source>
        <translation>One-click calibration</translation>
    </message>
    <message>
        <source>一键转台复测</source>
        <translation>One-click retest</translation>
    </message>
    <message>
        <source>标度因子测试</source>
        <translation>Scale factor test</translation>
    </message>
    <message>
        <source>加速度计+陀螺仪标定</source>
        <translation>Accel+gyro calibration</translation>
    </message>
    <message>
        <source>加速度计+陀螺仪复测</source>
        <translation>Accel+gyro retest</translation>
    </message>
    <message>
        <source>陀螺非线性标定</source>
        <translation>Gyro nonlin. calib</translation>
    </message>
    <message>
        <source>陀螺非线性复测</source>
        <translation>Gyro nonlin. retest</translation>
    </message>
    <message>
        <source>加表非线性标定</source>
        <translation>Accel nonlin. calib</translation>
    </message>
    <message>
        <source>加表非线性复测</source>
        <translation>Accel nonlin. retest</translation>
    </message>
    <message>
        <source>Accelerometer calibration</source>
        <translation>Accelerometer calibration</translation>
    </message>
    <message>
        <source>Gyro calibration</source>
        <translation>Gyro calibration</translation>
    </message>
    <message>
        <source>Constant-temperature rotation</source>
        <translation>Constant-temperature rotation</translation>
    </message>
    <message>
        <source>转台无响应，取消标定!</source>
        <translation>Turntable does not answer, calibration cancelled!</translation>
    </message>
    <message>
        <source>转台跟踪异常，取消标定!</source>
        <translation>Turntable tracking fault, calibration cancelled!</translation>
    </message>
    <message>
        <source>%1小时%2分钟%3秒</source>
        <translation>%1 h %2 min %3 s</translation>
    </message>
    <message>
        <source>Power supply model:UNKNOWN</source>
        <translation>Supply model: UNKNOWN</translation>
    </message>
    <message>
        <source>Power supply model:3030（限压31V,限流31A）</source>
        <translation>Supply model: 3030 (31 V, 31 A)</translation>
    </message>
    <message>
        <source>Power supply model:3020（限压31V,限流21A）</source>
        <translation>Supply model: 3020 (31 V, 21 A)</translation>
    </message>
    <message>
        <source>Power supply model:4520（限压45.5V,限流20.5A）</source>
        <translation>Supply model: 4520 (45.5 V, 20.5 A)</translation>
    </message>
    <message>
        <source>Stop starting data flow</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Temperature box with turntable - automatic</source>
        <translation>Chamber+table auto</translation>
    </message>
    <message>
        <source>Thermobox automatic</source>
        <translation>Chamber auto</translation>
    </message>
    <message>
        <source>Thermobox manual</source>
        <translation>Chamber manual</translation>
    </message>
    <message>
        <source>Turntable manual</source>
        <translation>Table manual</translation>
    </message>
    <message>
        <source>Automatic turntable</source>
        <translation>Table auto</translation>
    </message>
    <message>
        <source>Power Control</source>
        <translation>Supply</translation>
    </message>
    <message>
        <source>Bottom plate 9</source>
        <translation>Plate 9</translation>
    </message>
    <message>
        <source>Bottom plate 10</source>
        <translation>Plate 10</translation>
    </message>
    <message>
        <source>Bottom plate 11</source>
        <translation>Plate 11</translation>
    </message>
    <message>
        <source>Bottom plate 12</source>
        <translation>Plate 12</translation>
    </message>
    <message>
        <source>Bottom plate 13</source>
        <translation>Plate 13</translation>
    </message>
    <message>
        <source>Bottom plate 14</source>
        <translation>Plate 14</translation>
    </message>
    <message>
        <source>Bottom plate 15</source>
        <translation>Plate 15</translation>
    </message>
    <message>
        <source>Bottom plate 16</source>
        <translation>Plate 16</translation>
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
        <translation>Setup</translation>
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
        <source>%1小时%2分钟</source>
        <translation>%1 h %2 min</translation>
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
        <translation>Chamber off</translation>
    </message>
    <message>
        <source>The serial port number of the incubator conflicts</source>
        <translation>The chamber port is already in use</translation>
    </message>
    <message>
        <source>Update time:</source>
        <translation>Update time:</translation>
    </message>
    <message>
        <source>Start time:</source>
        <translation>Start time:</translation>
    </message>
    <message>
        <source>The serial port number of the power supply conflicts</source>
        <translation>The supply port is already in use</translation>
    </message>
    <message>
        <source>The power serial port is not turned on</source>
        <translation>The supply port is not open</translation>
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
        <translation>Supply off</translation>
    </message>
    <message>
        <source>Manual power on</source>
        <translation>Supply on</translation>
    </message>
    <message>
        <source>Serial port number conflict of the turntable</source>
        <translation>The turntable port is already in use</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>Serial port number conflicts on the network</source>
        <translation>The base-board link port is already in use</translation>
    </message>
    <message>
        <source>Serial port number conflict for serial port </source>
        <translation>Port already in use: port </translation>
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
        <source>Shield</source>
        <translation>Shield</translation>
    </message>
    <message>
        <source>位置指令</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>速率指令</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>Bottom plate version number</source>
        <translation>Plate version</translation>
    </message>
    <message>
        <source>Bottom plate serial number</source>
        <translation>Plate serial number</translation>
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
        <translation>Plate </translation>
    </message>
    <message>
        <source>,not installed properly, please reinstall or disable it</source>
        <translation> is not seated; reseat it or shield it</translation>
    </message>
    <message>
        <source>The number of loops must be greater than </source>
        <translation>The number of loops must be greater than </translation>
    </message>
    <message>
        <source>The power will be turned off after 1 minute of starting</source>
        <translation>The power will be turned off after 1 minute of starting</translation>
    </message>
    <message>
        <source>Warm box slave mode</source>
        <translation>Chamber slave mode</translation>
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
        <source>Set temperature: 25</source>
        <translation>Set temperature: 25</translation>
    </message>
    <message>
        <source>Go to:%1</source>
        <translation>Go to:%1</translation>
    </message>
    <message>
        <source>Insulation:%1。剩余：%2s</source>
        <translation>Soak at %1, %2 s left</translation>
    </message>
    <message>
        <source>End of insulation:%1</source>
        <translation>Soak at %1 done</translation>
    </message>
    <message>
        <source>Insulation temperature: 25</source>
        <translation>Soak at 25</translation>
    </message>
    <message>
        <source>Insulation: 25. Remaining time:%1s</source>
        <translation>Soak at 25, %1 s left</translation>
    </message>
    <message>
        <source>重发待上传结果</source>
        <translation>Resend results</translation>
    </message>
    <message>
        <source>No results waiting to upload</source>
        <translation>No results waiting to upload</translation>
    </message>
    <message>
        <source>上传日志到FTP</source>
        <translation>Logs to FTP</translation>
    </message>
    <message>
        <source>The results did not reach the service and wait on disk: %1</source>
        <translation>The results did not reach the service and wait on disk: %1</translation>
    </message>
    <message>
        <source>The turntable serial port is not turned on</source>
        <translation>The turntable port is not open</translation>
    </message>
    <message>
        <source>The incubator serial port is not turned on</source>
        <translation>The chamber port is not open</translation>
    </message>
    <message>
        <source>Chamber: link lost (%1), please reconnect</source>
        <translation>Chamber: link lost (%1), please reconnect</translation>
    </message>
    <message>
        <source>DC supply: link lost (%1), please reconnect</source>
        <translation>DC supply: link lost (%1), please reconnect</translation>
    </message>
    <message>
        <source>Plate 1: link lost (%1), please reconnect</source>
        <translation>Plate 1: link lost (%1), please reconnect</translation>
    </message>
    <message>
        <source>Plate %1: link lost (%2), please reconnect</source>
        <translation>Plate %1: link lost (%2), please reconnect</translation>
    </message>
    <message>
        <source>Turntable: link lost (%1), please reconnect</source>
        <translation>Turntable: link lost (%1), please reconnect</translation>
    </message>
    <message>
        <source>Base-board link: link lost (%1), please reconnect</source>
        <translation>Base-board link: link lost (%1), please reconnect</translation>
    </message>
    <message>
        <source>chamber link closed</source>
        <translation>chamber link closed</translation>
    </message>
    <message>
        <source>stopped by the operator</source>
        <translation>stopped by the operator</translation>
    </message>
    <message>
        <source> - chamber log not written</source>
        <translation> - chamber log not written</translation>
    </message>
    <message>
        <source> - supply log not written</source>
        <translation> - supply log not written</translation>
    </message>
    <message>
        <source>Chamber log line not written: %1</source>
        <translation>Chamber log line not written: %1</translation>
    </message>
    <message>
        <source>DC supply log line not written: %1</source>
        <translation>DC supply log line not written: %1</translation>
    </message>
    <message>
        <source>Cannot start: not linked: %1</source>
        <translation>Cannot start: not linked: %1</translation>
    </message>
    <message>
        <source>Stopped: %1</source>
        <translation>Stopped: %1</translation>
    </message>
    <message>
        <source>chamber not answering</source>
        <translation>chamber not answering</translation>
    </message>
    <message>
        <source>Supply switch-off after the start cancelled: step switched the supply on</source>
        <translation>Supply switch-off after the start cancelled: step switched the supply on</translation>
    </message>
    <message>
        <source>Temperature script completed</source>
        <translation>Temperature script completed</translation>
    </message>
    <message>
        <source>; %1 only in memory: the disk did not take it</source>
        <translation>; %1 only in memory: the disk did not take it</translation>
    </message>
    <message>
        <source>; %1 unreadable, set aside in %2</source>
        <translation>; %1 unreadable, set aside in %2</translation>
    </message>
    <message>
        <source>The results did not reach the service and the disk did not take them: %1, of which %2 only in memory, written and posted again at the next pass</source>
        <translation>The results did not reach the service and the disk did not take them: %1, of which %2 only in memory, written and posted again at the next pass</translation>
    </message>
    <message>
        <source>These upload results could not be written to disk and are lost if the program closes now: %1</source>
        <translation>These upload results could not be written to disk and are lost if the program closes now: %1</translation>
    </message>
    <message>
        <source>输出状态：未确认</source>
        <translation>Output: not confirmed</translation>
    </message>
    <message>
        <source>Set temperature (设定温度): &quot;%1&quot; is not a number from %2 to %3</source>
        <translation>Set temperature: &quot;%1&quot; is not a number from %2 to %3</translation>
    </message>
    <message>
        <source>DC supply did not confirm power on</source>
        <translation>DC supply did not confirm power on</translation>
    </message>
    <message>
        <source>DC supply did not confirm power off</source>
        <translation>DC supply did not confirm power off</translation>
    </message>
    <message>
        <source>Output: not confirmed since the link opened</source>
        <translation>Output: not confirmed since the link opened</translation>
    </message>
    <message>
        <source>Output: on (last confirmed by the supply)</source>
        <translation>Output: on (last confirmed by the supply)</translation>
    </message>
    <message>
        <source>Output: off (last confirmed by the supply)</source>
        <translation>Output: off (last confirmed by the supply)</translation>
    </message>
    <message>
        <source>Plate %1 link lost during the run: its IMUs are no longer in the run</source>
        <translation>Plate %1 link lost during the run: its IMUs are no longer in the run</translation>
    </message>
    <message>
        <source>DC supply at the stop of %1: %2</source>
        <translation>DC supply at the stop of %1: %2</translation>
    </message>
    <message>
        <source>Chamber: poll %1 missed (no temperature for %2 s); the run stops after %3 s of silence</source>
        <translation>Chamber: poll %1 missed (no temperature for %2 s); the run stops after %3 s of silence</translation>
    </message>
    <message>
        <source>The chamber takes a slope of at most %1 °C/min</source>
        <translation>The chamber takes a slope of at most %1 °C/min</translation>
    </message>
    <message>
        <source>Chamber: &quot;%1&quot; = &quot;%2&quot; is not a number of seconds up to one day; %3 s used</source>
        <translation>Chamber: &quot;%1&quot; = &quot;%2&quot; is not a number of seconds up to one day; %3 s used</translation>
    </message>
    <message>
        <source>DC supply did not confirm the manual power on</source>
        <translation>DC supply did not confirm the manual power on</translation>
    </message>
    <message>
        <source>DC supply did not confirm the manual power off</source>
        <translation>DC supply did not confirm the manual power off</translation>
    </message>
    <message>
        <source>%1: the run is stopped and %2</source>
        <translation>%1: the run is stopped and %2</translation>
    </message>
    <message>
        <source>Results wait for the modules to take end code %1</source>
        <translation>Results wait for the modules to take end code %1</translation>
    </message>
    <message>
        <source>End code %1 taken by every reporting module</source>
        <translation>End code %1 taken by every reporting module</translation>
    </message>
    <message>
        <source>End code %1 not confirmed: not every reporting module took it</source>
        <translation>End code %1 not confirmed: not every reporting module took it</translation>
    </message>
    <message>
        <source>Results posted from the modules&apos; reports after the run&apos;s last step</source>
        <translation>Results posted from the modules&apos; reports after the run&apos;s last step</translation>
    </message>
    <message>
        <source>Results posted from the modules&apos; reports after end code %1</source>
        <translation>Results posted from the modules&apos; reports after end code %1</translation>
    </message>
    <message>
        <source>Results posted from the modules&apos; last reports: end code %1 not confirmed</source>
        <translation>Results posted from the modules&apos; last reports: end code %1 not confirmed</translation>
    </message>
    <message>
        <source>Results posted from the modules&apos; last reports</source>
        <translation>Results posted from the modules&apos; last reports</translation>
    </message>
    <message>
        <source>%1: no module reported during the run: nothing is uploaded</source>
        <translation>%1: no module reported during the run: nothing is uploaded</translation>
    </message>
    <message>
        <source>nothing is uploaded</source>
        <translation>nothing is uploaded</translation>
    </message>
    <message>
        <source>its results were posted at %1 and the service took them</source>
        <translation>its results were posted at %1 and the service took them</translation>
    </message>
    <message>
        <source>its results were posted at %1 and wait in the outbox</source>
        <translation>its results were posted at %1 and wait in the outbox</translation>
    </message>
    <message>
        <source>rotation failed: %1</source>
        <translation>rotation failed: %1</translation>
    </message>
    <message>
        <source>The constant-temperature rotation failed (%1), the run is stopped and nothing is uploaded</source>
        <translation>The constant-temperature rotation failed (%1), the run is stopped and nothing is uploaded</translation>
    </message>
    <message>
        <source>chamber link lost</source>
        <translation>chamber link lost</translation>
    </message>
    <message>
        <source>DC supply link closed</source>
        <translation>DC supply link closed</translation>
    </message>
    <message>
        <source>DC supply link lost</source>
        <translation>DC supply link lost</translation>
    </message>
    <message>
        <source>turntable link closed</source>
        <translation>turntable link closed</translation>
    </message>
    <message>
        <source>turntable link lost</source>
        <translation>turntable link lost</translation>
    </message>
    <message>
        <source>all links closed</source>
        <translation>all links closed</translation>
    </message>
    <message>
        <source>program closed</source>
        <translation>program closed</translation>
    </message>
    <message>
        <source>; %1 refused by the service (%2): mend the work order, then press &quot;Resend results&quot;</source>
        <translation>; %1 refused by the service (%2): mend the work order, then press &quot;Resend results&quot;</translation>
    </message>
    <message>
        <source>The service refused the results (%1): they are set aside; mend the work order, then press &quot;Resend results&quot; on the configuration page</source>
        <translation>The service refused the results (%1): they are set aside; mend the work order, then press &quot;Resend results&quot; on the configuration page</translation>
    </message>
    <message>
        <source>%1 stopped: %2</source>
        <translation>%1 stopped: %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 started</source>
        <translation>%1 started</translation>
    </message>
    <message>
        <source>chamber did not reach %1 °C</source>
        <translation>chamber did not reach %1 °C</translation>
    </message>
    <message>
        <source>The chamber did not come within 1 °C of %1 °C in %2 min</source>
        <translation>The chamber did not come within 1 °C of %1 °C in %2 min</translation>
    </message>
    <message>
        <source>its results were posted at %1 and the service refused them: they are set aside until &quot;Resend results&quot; sends them again</source>
        <translation>its results were posted at %1 and the service refused them: they are set aside until &quot;Resend results&quot; sends them again</translation>
    </message>
    <message>
        <source>Production-data service: %1, the default: set httpAddr/officialAddr to the site&apos;s service</source>
        <translation>Production-data service: %1, the default: set httpAddr/officialAddr to the site&apos;s service</translation>
    </message>
    <message>
        <source>Production-data service: %1</source>
        <translation>Production-data service: %1</translation>
    </message>
    <message>
        <source>base-board links closed</source>
        <translation>base-board links closed</translation>
    </message>
    <message>
        <source>main link lost</source>
        <translation>main link lost</translation>
    </message>
    <message>
        <source>base-board links lost</source>
        <translation>base-board links lost</translation>
    </message>
    <message>
        <source>Chamber</source>
        <translation>Chamber</translation>
    </message>
    <message>
        <source>DC supply</source>
        <translation>DC supply</translation>
    </message>
    <message>
        <source>Plate %1</source>
        <translation>Plate %1</translation>
    </message>
    <message>
        <source>Turntable</source>
        <translation>Turntable</translation>
    </message>
    <message>
        <source>Base-board</source>
        <translation>Base-board</translation>
    </message>
    <message>
        <source>Main link opened: linking the rack</source>
        <translation>Main link opened: linking the rack</translation>
    </message>
    <message>
        <source>%1 link opened</source>
        <translation>%1 link opened</translation>
    </message>
    <message>
        <source>%1 link failed to open</source>
        <translation>%1 link failed to open</translation>
    </message>
    <message>
        <source>Station %1 results hold plates: %2</source>
        <translation>Station %1 results hold plates: %2</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source> (plate links lost during the run: %1)</source>
        <translation> (plate links lost during the run: %1)</translation>
    </message>
    <message>
        <source>%1 was already stopping, also asked: %2</source>
        <translation>%1 was already stopping, also asked: %2</translation>
    </message>
    <message>
        <source>End code %1 shown by every reporting module</source>
        <translation>End code %1 shown by every reporting module</translation>
    </message>
    <message>
        <source>its results are being posted</source>
        <translation>its results are being posted</translation>
    </message>
    <message>
        <source>its results are being posted (sent at %1)</source>
        <translation>its results are being posted (sent at %1)</translation>
    </message>
    <message>
        <source>%1: the links of the plates that reported were lost (plates %2): nothing is uploaded</source>
        <translation>%1: the links of the plates that reported were lost (plates %2): nothing is uploaded</translation>
    </message>
    <message>
        <source>G-value position %1</source>
        <translation>G-value position %1</translation>
    </message>
    <message>
        <source>turntable not linked</source>
        <translation>turntable not linked</translation>
    </message>
    <message>
        <source>not completed</source>
        <translation>not completed</translation>
    </message>
    <message>
        <source>Run stopped</source>
        <translation>Run stopped</translation>
    </message>
    <message>
        <source>Advanced retest completed</source>
        <translation>Advanced retest completed</translation>
    </message>
    <message>
        <source>Chamber link closed</source>
        <translation>Chamber link closed</translation>
    </message>
    <message>
        <source>Plate %1 link closed</source>
        <translation>Plate %1 link closed</translation>
    </message>
    <message>
        <source>Turntable link closed</source>
        <translation>Turntable link closed</translation>
    </message>
    <message>
        <source>Base-board link closed</source>
        <translation>Base-board link closed</translation>
    </message>
    <message>
        <source>Main link closed: every link of the rack closed</source>
        <translation>Main link closed: every link of the rack closed</translation>
    </message>
    <message>
        <source>FTP upload: no server address in the settings (ftp/serverAddress)</source>
        <translation>FTP upload: no server address in the settings (ftp/serverAddress)</translation>
    </message>
    <message>
        <source>FTP upload: a walk is already running</source>
        <translation>FTP upload: a walk is already running</translation>
    </message>
    <message>
        <source>FTP upload of %1 to %2 started</source>
        <translation>FTP upload of %1 to %2 started</translation>
    </message>
    <message>
        <source>FTP upload finished: %1 sent, %2 skipped, %3 failed</source>
        <translation>FTP upload finished: %1 sent, %2 skipped, %3 failed</translation>
    </message>
    <message>
        <source>Cannot start: %1</source>
        <translation>Cannot start: %1</translation>
    </message>
    <message>
        <source>DC supply not switched: %1</source>
        <translation>DC supply not switched: %1</translation>
    </message>
    <message>
        <source>DC supply for this run: %1</source>
        <translation>DC supply for this run: %1</translation>
    </message>
    <message>
        <source>the supply model is &quot;%1&quot;; the supply is switched on only with its model (3030, 3020 or 4520) chosen in the settings dialog</source>
        <translation>the supply model is &quot;%1&quot;; the supply is switched on only with its model (3030, 3020 or 4520) chosen in the settings dialog</translation>
    </message>
    <message>
        <source>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the supply is switched on only at 12, 15 or 31 V</source>
        <translation>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the supply is switched on only at 12, 15 or 31 V</translation>
    </message>
    <message>
        <source>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the supply is switched on only at a current above 0 A and not above %3 A, the limit of the %4 supply</source>
        <translation>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the supply is switched on only at a current above 0 A and not above %3 A, the limit of the %4 supply</translation>
    </message>
    <message>
        <source>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;, which is not a number</source>
        <translation>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;, which is not a number</translation>
    </message>
    <message>
        <source>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the smallest current the %3 supply can be set to is %4 A</source>
        <translation>the DC supply page&apos;s &quot;%1&quot; field holds &quot;%2&quot;; the smallest current the %3 supply can be set to is %4 A</translation>
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
        <translation>PDF report</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Zoom out</translation>
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
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Export successful</source>
        <translation>Export successful</translation>
    </message>
    <message>
        <source>Export failed:%1</source>
        <translation>Export failed:%1</translation>
    </message>
    <message>
        <source>Nothing to export: load a folder of record files first.</source>
        <translation>Nothing to export: load a folder of record files first.</translation>
    </message>
    <message>
        <source>Nothing to export: none of the %1 record files in %2 could be read as a record.</source>
        <translation>Nothing to export: none of the %1 record files in %2 could be read as a record.</translation>
    </message>
    <message>
        <source>Nothing to export: %1 holds no record files (*.csv).</source>
        <translation>Nothing to export: %1 holds no record files (*.csv).</translation>
    </message>
    <message>
        <source>No file was written.</source>
        <translation>No file was written.</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
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
        <translation>Cannot paint on %1</translation>
    </message>
</context>
<context>
    <name>ProductionRecord</name>
    <message>
        <source>%1 modules in the report; %2 files that could not be read as records are left out.</source>
        <translation>%1 modules in the report; %2 files that could not be read as records are left out.</translation>
    </message>
    <message>
        <source>%1 values where a record has %2</source>
        <translation>%1 values where a record has %2</translation>
    </message>
</context>
<context>
    <name>QuickTestLog</name>
    <message>
        <source>result line not written to %1 (%2)</source>
        <translation>result line not written to %1 (%2)</translation>
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
        <translation>Storage error, the result was not saved: </translation>
    </message>
</context>
<context>
    <name>Reports</name>
    <message>
        <source>Folder does not exist: %1</source>
        <translation>Folder does not exist: %1</translation>
    </message>
    <message>
        <source>Folder is not writable: %1</source>
        <translation>Folder is not writable: %1</translation>
    </message>
    <message>
        <source>Nothing was written to %1</source>
        <translation>Nothing was written to %1</translation>
    </message>
    <message>
        <source>Cannot replace %1</source>
        <translation>Cannot replace %1</translation>
    </message>
    <message>
        <source>Cannot create the workbook</source>
        <translation>Cannot create the workbook</translation>
    </message>
    <message>
        <source>Cannot write a cell</source>
        <translation>Cannot write a cell</translation>
    </message>
    <message>
        <source>%1: the value in column %2 (%3) has %4 characters, more than a cell holds: only its first %5 are written</source>
        <translation>%1: the value in column %2 (%3) has %4 characters, more than a cell holds: only its first %5 are written</translation>
    </message>
</context>
<context>
    <name>RunGuard</name>
    <message>
        <source>Plate links lost during the run: %1</source>
        <translation>Plate links lost during the run: %1</translation>
    </message>
    <message>
        <source>Temperature compensation and retest script</source>
        <translation>Temperature compensation and retest script</translation>
    </message>
    <message>
        <source>Temperature retest script</source>
        <translation>Temperature retest script</translation>
    </message>
    <message>
        <source>Advanced calibration</source>
        <translation>Advanced calibration</translation>
    </message>
    <message>
        <source>Advanced calibration and retest</source>
        <translation>Advanced calibration and retest</translation>
    </message>
    <message>
        <source>Advanced retest</source>
        <translation>Advanced retest</translation>
    </message>
    <message>
        <source>Static Allan retest</source>
        <translation>Static Allan retest</translation>
    </message>
    <message>
        <source>Advanced Allan retest</source>
        <translation>Advanced Allan retest</translation>
    </message>
    <message>
        <source>One-click turntable calibration</source>
        <translation>One-click turntable calibration</translation>
    </message>
    <message>
        <source>turntable</source>
        <translation>turntable</translation>
    </message>
    <message>
        <source>chamber</source>
        <translation>chamber</translation>
    </message>
    <message>
        <source>DC supply</source>
        <translation>DC supply</translation>
    </message>
    <message>
        <source>base boards</source>
        <translation>base boards</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 is running: stop it before starting another run</source>
        <translation>%1 is running: stop it before starting another run</translation>
    </message>
</context>
<context>
    <name>ScreeningRun</name>
    <message>
        <source>serial changed from %1 to %2</source>
        <translation>serial changed from %1 to %2</translation>
    </message>
    <message>
        <source>module %1: %2</source>
        <translation>module %1: %2</translation>
    </message>
    <message>
        <source>serial number %1 is also read by module %2</source>
        <translation>serial number %1 is also read by module %2</translation>
    </message>
    <message>
        <source>serial number %1 read by modules %2</source>
        <translation>serial number %1 read by modules %2</translation>
    </message>
    <message>
        <source>its counter never moved</source>
        <translation>its counter never moved</translation>
    </message>
    <message>
        <source>its counter never ran</source>
        <translation>its counter never ran</translation>
    </message>
    <message>
        <source>no answer in tick count %1 to %2</source>
        <translation>no answer in tick count %1 to %2</translation>
    </message>
    <message>
        <source>its counter stood still in tick count %1 to %2</source>
        <translation>its counter stood still in tick count %1 to %2</translation>
    </message>
    <message>
        <source>value %1, %2</source>
        <translation>value %1, %2</translation>
    </message>
    <message>
        <source>module %1</source>
        <translation>module %1</translation>
    </message>
    <message>
        <source>limit %1</source>
        <translation>limit %1</translation>
    </message>
    <message>
        <source>the board differs from %1 (%2)</source>
        <translation>the board differs from %1 (%2)</translation>
    </message>
    <message>
        <source>expected %1</source>
        <translation>expected %1</translation>
    </message>
    <message>
        <source>the module reports without a serial number</source>
        <translation>the module reports without a serial number</translation>
    </message>
    <message>
        <source>%1 reports %2, limit %3</source>
        <translation>%1 reports %2, limit %3</translation>
    </message>
    <message>
        <source>limits %1 to %2</source>
        <translation>limits %1 to %2</translation>
    </message>
    <message>
        <source>2 is a failure</source>
        <translation>2 is a failure</translation>
    </message>
    <message>
        <source>limit below %1</source>
        <translation>limit below %1</translation>
    </message>
    <message>
        <source>the module stopped answering: its place reads empty</source>
        <translation>the module stopped answering: its place reads empty</translation>
    </message>
    <message>
        <source>the module&apos;s counter stopped</source>
        <translation>the module&apos;s counter stopped</translation>
    </message>
    <message>
        <source>not checked: %1</source>
        <translation>not checked: %1</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>module %1 (%2)</source>
        <translation>module %1 (%2)</translation>
    </message>
    <message>
        <source>modules %1 (%2)</source>
        <translation>modules %1 (%2)</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>参数设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>转台参数设置</source>
        <translation>Turntable</translation>
    </message>
    <message>
        <source>自动标定转台运动时间(s)</source>
        <translation>Table move time (s)</translation>
    </message>
    <message>
        <source>标定加表时间(s)</source>
        <translation>Accel calib time (s)</translation>
    </message>
    <message>
        <source>标定陀螺时间(s)</source>
        <translation>Gyro calib time (s)</translation>
    </message>
    <message>
        <source>标定陀螺非线性时间(s)</source>
        <translation>Gyro nonlin. time (s)</translation>
    </message>
    <message>
        <source>标定加表非线性时间(s)</source>
        <translation>Accel nonlin. time (s)</translation>
    </message>
    <message>
        <source>温箱参数设置</source>
        <translation>Chamber</translation>
    </message>
    <message>
        <source>温补复测改温度循环模式</source>
        <translation>Retest as temp. cycling</translation>
    </message>
    <message>
        <source>温箱从机模式</source>
        <translation>Chamber slave mode</translation>
    </message>
    <message>
        <source>打开IMU显示</source>
        <translation>Show IMU plots</translation>
    </message>
    <message>
        <source>实际降温速率</source>
        <translation>Cooling rate</translation>
    </message>
    <message>
        <source>其他设置</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>静止复测倒计时（min）</source>
        <translation>Static delay (min)</translation>
    </message>
    <message>
        <source>电源型号</source>
        <translation>Supply</translation>
    </message>
    <message>
        <source>UNKNOWN</source>
        <translation>UNKNOWN</translation>
    </message>
    <message>
        <source>3030（31V,31A）</source>
        <translation>3030 (31V,31A)</translation>
    </message>
    <message>
        <source>3020（31V,21A）</source>
        <translation>3020 (31V,21A)</translation>
    </message>
    <message>
        <source>4520（45.5V,20.5A）</source>
        <translation>4520 (45.5V,20.5A)</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a whole number from 0 to 255.</source>
        <translation>%1: &quot;%2&quot; is not a whole number from 0 to 255.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number above 0.</source>
        <translation>%1: &quot;%2&quot; is not a number above 0.</translation>
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
        <translation>Calibrating the gyro, keep it still!</translation>
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
        <translation>Testing, keep it still!</translation>
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
        <source>Testing with errors</source>
        <translation>Testing with errors</translation>
    </message>
    <message>
        <source>Testing, normal, please remain stationary</source>
        <translation>Testing, normal, keep it still</translation>
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
    <message>
        <source>Test interrupted, nothing was stored: please open the serial port</source>
        <translation>Test interrupted, nothing was stored: please open the serial port</translation>
    </message>
    <message>
        <source>Test interrupted, nothing was stored: the test page was left</source>
        <translation>Test interrupted, nothing was stored: the test page was left</translation>
    </message>
    <message>
        <source>Board not tested: no data to judge, nothing was stored</source>
        <translation>Board not tested: no data to judge, nothing was stored</translation>
    </message>
</context>
<context>
    <name>TableView</name>
    <message>
        <source>整个底板</source>
        <translation>Whole plate</translation>
    </message>
</context>
<context>
    <name>TempScript</name>
    <message>
        <source>Loops (循环次数)</source>
        <translation>Loops</translation>
    </message>
    <message>
        <source>Start temperature (起始温度)</source>
        <translation>Start temperature</translation>
    </message>
    <message>
        <source>Start soak minutes (达到起始温度后停留)</source>
        <translation>Start soak minutes</translation>
    </message>
    <message>
        <source>Stop temperature (停止温度)</source>
        <translation>Stop temperature</translation>
    </message>
    <message>
        <source>Stop soak minutes (达到停止温度后停留)</source>
        <translation>Stop soak minutes</translation>
    </message>
    <message>
        <source>Temperature slope (温度斜率)</source>
        <translation>Temperature slope</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a whole number from %3 to %4</source>
        <translation>%1: &quot;%2&quot; is not a whole number from %3 to %4</translation>
    </message>
    <message>
        <source>%1 hours %2 minutes</source>
        <translation>%1 hours %2 minutes</translation>
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
        <translation>Stop soak ended early: every live IMU passed %1 °C</translation>
    </message>
</context>
<context>
    <name>TurntableSequence</name>
    <message>
        <source>%1 started</source>
        <translation>%1 started</translation>
    </message>
    <message>
        <source>Scale-factor test</source>
        <translation>Scale-factor test</translation>
    </message>
    <message>
        <source>Accelerometer calibration</source>
        <translation>Accelerometer calibration</translation>
    </message>
    <message>
        <source>Gyro calibration</source>
        <translation>Gyro calibration</translation>
    </message>
    <message>
        <source>Gyro nonlinearity calibration</source>
        <translation>Gyro nonlinearity calibration</translation>
    </message>
    <message>
        <source>Accelerometer nonlinearity calibration</source>
        <translation>Accelerometer nonlinearity calibration</translation>
    </message>
    <message>
        <source>Accelerometer retest</source>
        <translation>Accelerometer retest</translation>
    </message>
    <message>
        <source>Gyro retest</source>
        <translation>Gyro retest</translation>
    </message>
    <message>
        <source>Gyro nonlinearity retest</source>
        <translation>Gyro nonlinearity retest</translation>
    </message>
    <message>
        <source>Accelerometer nonlinearity retest</source>
        <translation>Accelerometer nonlinearity retest</translation>
    </message>
    <message>
        <source>Turntable position test</source>
        <translation>Turntable position test</translation>
    </message>
    <message>
        <source>Turntable rate test</source>
        <translation>Turntable rate test</translation>
    </message>
    <message>
        <source>Automatic gyro sequence</source>
        <translation>Automatic gyro sequence</translation>
    </message>
    <message>
        <source>Automatic accelerometer sequence</source>
        <translation>Automatic accelerometer sequence</translation>
    </message>
    <message>
        <source>Advanced gyro nonlinearity sequence</source>
        <translation>Advanced gyro nonlinearity sequence</translation>
    </message>
    <message>
        <source>Advanced accelerometer nonlinearity sequence</source>
        <translation>Advanced accelerometer nonlinearity sequence</translation>
    </message>
</context>
<context>
    <name>UploadOutbox</name>
    <message>
        <source>No results waiting to upload</source>
        <translation>No results waiting to upload</translation>
    </message>
    <message>
        <source>1 result waiting to upload</source>
        <translation>1 result waiting to upload</translation>
    </message>
    <message>
        <source>%1 results waiting to upload</source>
        <translation>%1 results waiting to upload</translation>
    </message>
    <message>
        <source>Upload %1: station %2 has no service path</source>
        <translation>Upload %1: station %2 has no service path</translation>
    </message>
    <message>
        <source>Upload %1 to %2: refused by the service, %3: set aside until &quot;Resend results&quot; sends it again</source>
        <translation>Upload %1 to %2: refused by the service, %3: set aside until &quot;Resend results&quot; sends it again</translation>
    </message>
    <message>
        <source> (could not move it to %1)</source>
        <translation> (could not move it to %1)</translation>
    </message>
    <message>
        <source>Upload %1 to %2: taken, %3</source>
        <translation>Upload %1 to %2: taken, %3</translation>
    </message>
    <message>
        <source> (could not mark it sent: it may be posted again)</source>
        <translation> (could not mark it sent: it may be posted again)</translation>
    </message>
    <message>
        <source>Upload %1 to %2 failed: %3: kept for a later try</source>
        <translation>Upload %1 to %2 failed: %3: kept for a later try</translation>
    </message>
    <message>
        <source>Upload of station %1: the result could not be kept on disk (%2): it is held in memory and written at the next pass</source>
        <translation>Upload of station %1: the result could not be kept on disk (%2): it is held in memory and written at the next pass</translation>
    </message>
    <message>
        <source>Upload %1: the result held in memory is now kept on disk</source>
        <translation>Upload %1: the result held in memory is now kept on disk</translation>
    </message>
    <message>
        <source>Posting again: %1</source>
        <translation>Posting again: %1</translation>
    </message>
    <message>
        <source>Posting again by hand: %1 refused by the service before</source>
        <translation>Posting again by hand: %1 refused by the service before</translation>
    </message>
    <message>
        <source>no answer in time</source>
        <translation>no answer in time</translation>
    </message>
    <message>
        <source>HTTP %1, the connection was cut in the middle of the answer</source>
        <translation>HTTP %1, the connection was cut in the middle of the answer</translation>
    </message>
    <message>
        <source>HTTP %1, the reply is not JSON</source>
        <translation>HTTP %1, the reply is not JSON</translation>
    </message>
    <message>
        <source>(held in memory)</source>
        <translation>(held in memory)</translation>
    </message>
    <message>
        <source>Upload %1: cannot read it (%2)</source>
        <translation>Upload %1: cannot read it (%2)</translation>
    </message>
    <message>
        <source>the file is %1</source>
        <translation>the file is %1</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>the file is not JSON (%1)</source>
        <translation>the file is not JSON (%1)</translation>
    </message>
    <message>
        <source>Upload %1: %2: %3</source>
        <translation>Upload %1: %2: %3</translation>
    </message>
    <message>
        <source>set aside in %1</source>
        <translation>set aside in %1</translation>
    </message>
    <message>
        <source>left where it is, not posted</source>
        <translation>left where it is, not posted</translation>
    </message>
    <message>
        <source>cannot make %1</source>
        <translation>cannot make %1</translation>
    </message>
    <message>
        <source>the disk kept %1 of its %2 bytes</source>
        <translation>the disk kept %1 of its %2 bytes</translation>
    </message>
</context>
<context>
    <name>WorkerThread</name>
    <message>
        <source>Failed to open %1: %2</source>
        <translation>Failed to open %1: %2</translation>
    </message>
    <message>
        <source>Recording stopped</source>
        <translation>Recording stopped</translation>
    </message>
    <message>
        <source>writing %1 failed: %2</source>
        <translation>writing %1 failed: %2</translation>
    </message>
    <message>
        <source>Recording failed: %1</source>
        <translation>Recording failed: %1</translation>
    </message>
    <message>
        <source>recording stopped</source>
        <translation>recording stopped</translation>
    </message>
    <message>
        <source>the link is not open</source>
        <translation>the link is not open</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>Recording to %1</source>
        <translation>Recording to %1</translation>
    </message>
    <message>
        <source>the link was lost (%1)</source>
        <translation>the link was lost (%1)</translation>
    </message>
    <message>
        <source>the link was closed</source>
        <translation>the link was closed</translation>
    </message>
</context>
<context>
    <name>WorkerThread_DC_power</name>
    <message>
        <source>DC supply: control sequence abandoned</source>
        <translation>DC supply: control sequence abandoned</translation>
    </message>
    <message>
        <source>DC supply: frame failed: %1</source>
        <translation>DC supply: frame failed: %1</translation>
    </message>
    <message>
        <source>DC supply: power on not confirmed</source>
        <translation>DC supply: power on not confirmed</translation>
    </message>
    <message>
        <source>DC supply: power off not confirmed</source>
        <translation>DC supply: power off not confirmed</translation>
    </message>
    <message>
        <source>DC supply: failed to open %1: %2</source>
        <translation>DC supply: failed to open %1: %2</translation>
    </message>
    <message>
        <source>DC supply: frame not sent, supply not connected</source>
        <translation>DC supply: frame not sent, supply not connected</translation>
    </message>
    <message>
        <source>DC supply: unknown control code %1</source>
        <translation>DC supply: unknown control code %1</translation>
    </message>
    <message>
        <source>DC supply: no set frame to switch with</source>
        <translation>DC supply: no set frame to switch with</translation>
    </message>
    <message>
        <source>DC supply: command %1 sent to the plates; no live IMU to confirm it</source>
        <translation>DC supply: command %1 sent to the plates; no live IMU to confirm it</translation>
    </message>
    <message>
        <source>DC supply: the plates did not take command %1 after 3 attempts</source>
        <translation>DC supply: the plates did not take command %1 after 3 attempts</translation>
    </message>
</context>
<context>
    <name>WorkerThread_Multi</name>
    <message>
        <source>Plate %1: failed to open %2: %3</source>
        <translation>Plate %1: failed to open %2: %3</translation>
    </message>
    <message>
        <source>Plate %1: recording failed: %2</source>
        <translation>Plate %1: recording failed: %2</translation>
    </message>
    <message>
        <source>Plate %1: recording to %2</source>
        <translation>Plate %1: recording to %2</translation>
    </message>
    <message>
        <source>Plate %1: recording stopped</source>
        <translation>Plate %1: recording stopped</translation>
    </message>
</context>
<context>
    <name>WorkerThread_Replay</name>
    <message>
        <source>Cannot open file %1: %2</source>
        <translation>Cannot open file %1: %2</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Cannot open file %1</translation>
    </message>
</context>
<context>
    <name>WorkerThread_ftp</name>
    <message>
        <source>No machine id: the upload is stopped</source>
        <translation>No machine id: the upload is stopped</translation>
    </message>
    <message>
        <source>No FTP server address in the settings (ftp/serverAddress)</source>
        <translation>No FTP server address in the settings (ftp/serverAddress)</translation>
    </message>
    <message>
        <source>login to %1:%2 failed: %3</source>
        <translation>login to %1:%2 failed: %3</translation>
    </message>
    <message>
        <source>%1 upload finish: %2 sent, %3 skipped, %4 failed</source>
        <translation>%1 upload finish: %2 sent, %3 skipped, %4 failed</translation>
    </message>
    <message>
        <source>upload of %1 failed: %2</source>
        <translation>upload of %1 failed: %2</translation>
    </message>
    <message>
        <source>sent %1 of %2 bytes</source>
        <translation>sent %1 of %2 bytes</translation>
    </message>
    <message>
        <source>the file changed during its transfer: %1 bytes sent, %2 bytes now</source>
        <translation>the file changed during its transfer: %1 bytes sent, %2 bytes now</translation>
    </message>
    <message>
        <source>server holds %1 of %2 bytes</source>
        <translation>server holds %1 of %2 bytes</translation>
    </message>
</context>
<context>
    <name>WorkerThread_hothouse</name>
    <message>
        <source>Chamber: connection failed: %1</source>
        <translation>Chamber: connection failed: %1</translation>
    </message>
    <message>
        <source>Chamber: failed to open %1: %2</source>
        <translation>Chamber: failed to open %1: %2</translation>
    </message>
    <message>
        <source>Chamber: %1 not sent, chamber not connected</source>
        <translation>Chamber: %1 not sent, chamber not connected</translation>
    </message>
    <message>
        <source>Chamber: %1 failed: %2</source>
        <translation>Chamber: %1 failed: %2</translation>
    </message>
    <message>
        <source>Chamber: %1 gave no value</source>
        <translation>Chamber: %1 gave no value</translation>
    </message>
    <message>
        <source>set point</source>
        <translation>set point</translation>
    </message>
    <message>
        <source>ramp rate</source>
        <translation>ramp rate</translation>
    </message>
    <message>
        <source>run</source>
        <translation>run</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>stop</translation>
    </message>
    <message>
        <source>set point read</source>
        <translation>set point read</translation>
    </message>
    <message>
        <source>ramp rate read</source>
        <translation>ramp rate read</translation>
    </message>
    <message>
        <source>temperature read</source>
        <translation>temperature read</translation>
    </message>
</context>
<context>
    <name>WorkerThread_hothouse2</name>
    <message>
        <source>Chamber: ramp rate %1 not sent, the chamber takes at most %2 °C/min</source>
        <translation>Chamber: ramp rate %1 not sent, the chamber takes at most %2 °C/min</translation>
    </message>
</context>
<context>
    <name>WorkerThread_net</name>
    <message>
        <source>Base-board link: failed to open %1: %2</source>
        <translation>Base-board link: failed to open %1: %2</translation>
    </message>
</context>
<context>
    <name>WorkerThread_turn_table</name>
    <message>
        <source>Turntable: %1</source>
        <translation>Turntable: %1</translation>
    </message>
    <message>
        <source>Turntable: failed to open %1: %2</source>
        <translation>Turntable: failed to open %1: %2</translation>
    </message>
    <message>
        <source>%1: turntable not connected</source>
        <translation>%1: turntable not connected</translation>
    </message>
    <message>
        <source>turntable not connected</source>
        <translation>turntable not connected</translation>
    </message>
    <message>
        <source>%1 is running</source>
        <translation>%1 is running</translation>
    </message>
    <message>
        <source>%1 refused: %2</source>
        <translation>%1 refused: %2</translation>
    </message>
    <message>
        <source>%1 started</source>
        <translation>%1 started</translation>
    </message>
    <message>
        <source>%1 completed</source>
        <translation>%1 completed</translation>
    </message>
    <message>
        <source>%1 failed: %2</source>
        <translation>%1 failed: %2</translation>
    </message>
    <message>
        <source>%1 stopped</source>
        <translation>%1 stopped</translation>
    </message>
    <message>
        <source>Turntable: unknown command %1</source>
        <translation>Turntable: unknown command %1</translation>
    </message>
    <message>
        <source>Turntable: unknown general command %1</source>
        <translation>Turntable: unknown general command %1</translation>
    </message>
    <message>
        <source>no sequence for advanced type %1</source>
        <translation>no sequence for advanced type %1</translation>
    </message>
    <message>
        <source>Rotation %1: %2</source>
        <translation>Rotation %1: %2</translation>
    </message>
    <message>
        <source>Constant-temperature rotation %1</source>
        <translation>Constant-temperature rotation %1</translation>
    </message>
    <message>
        <source>Inner axis enable</source>
        <translation>Inner axis enable</translation>
    </message>
    <message>
        <source>Inner axis disable</source>
        <translation>Inner axis disable</translation>
    </message>
    <message>
        <source>Outer axis enable</source>
        <translation>Outer axis enable</translation>
    </message>
    <message>
        <source>Outer axis disable</source>
        <translation>Outer axis disable</translation>
    </message>
    <message>
        <source>%1 not sent: turntable not connected</source>
        <translation>%1 not sent: turntable not connected</translation>
    </message>
    <message>
        <source>%1 not sent: the controller line refused the write</source>
        <translation>%1 not sent: the controller line refused the write</translation>
    </message>
    <message>
        <source>%1: no answer from the controller</source>
        <translation>%1: no answer from the controller</translation>
    </message>
    <message>
        <source>Inner axis enabled</source>
        <translation>Inner axis enabled</translation>
    </message>
    <message>
        <source>Inner axis disabled</source>
        <translation>Inner axis disabled</translation>
    </message>
    <message>
        <source>Outer axis enabled</source>
        <translation>Outer axis enabled</translation>
    </message>
    <message>
        <source>Outer axis disabled</source>
        <translation>Outer axis disabled</translation>
    </message>
</context>
<context>
    <name>multi_calib_cmd</name>
    <message>
        <source>校准命令页面</source>
        <translation>Command page</translation>
    </message>
    <message>
        <source>color:rgb(0, 85, 255);</source>
        <translation>color:rgb(0, 85, 255);</translation>
    </message>
    <message>
        <source>底板通信</source>
        <translation>Plate links</translation>
    </message>
    <message>
        <source>底板IMU状态</source>
        <translation>Plate IMU status</translation>
    </message>
    <message>
        <source>网络：</source>
        <translation>Base link:</translation>
    </message>
    <message>
        <source>转台：</source>
        <translation>Table:</translation>
    </message>
    <message>
        <source>温箱：</source>
        <translation>Chamber:</translation>
    </message>
    <message>
        <source>转台2：</source>
        <translation>Table 2:</translation>
    </message>
    <message>
        <source>电源：</source>
        <translation>Supply:</translation>
    </message>
    <message>
        <source>QPushButton{color:rgb(0, 85, 255);border-color:rgb(122, 122, 122);border-width: 1px;border-style: solid;border-radius:5px;background-color:transparent;}QPushButton:hover{color:rgb(0, 170, 0);}QPushButton:pressed{background-color:rgba(0, 170, 255,30);}</source>
        <translation>QPushButton{color:rgb(0, 85, 255);border-color:rgb(122, 122, 122);border-width: 1px;border-style: solid;border-radius:5px;background-color:transparent;}QPushButton:hover{color:rgb(0, 170, 0);}QPushButton:pressed{background-color:rgba(0, 170, 255,30);}</translation>
    </message>
    <message>
        <source>Allan静止复测</source>
        <translation>Allan static retest</translation>
    </message>
    <message>
        <source>高级Allan</source>
        <translation>Advanced Allan</translation>
    </message>
    <message>
        <source>常用标定</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>加表标定</source>
        <translation>Accel calib</translation>
    </message>
    <message>
        <source>加表陀螺校准</source>
        <translation>Accel+gyro calib</translation>
    </message>
    <message>
        <source>陀螺标定</source>
        <translation>Gyro calib</translation>
    </message>
    <message>
        <source>加表陀螺复测</source>
        <translation>Acc+gyro retest</translation>
    </message>
    <message>
        <source>开始温补</source>
        <translation>Start comp.</translation>
    </message>
    <message>
        <source>结束温补</source>
        <translation>End comp.</translation>
    </message>
    <message>
        <source>温度复测开始</source>
        <translation>Retest start</translation>
    </message>
    <message>
        <source>温度复测结束</source>
        <translation>Retest end</translation>
    </message>
    <message>
        <source>陀螺非线性标定</source>
        <translation>Gyro NL calib</translation>
    </message>
    <message>
        <source>加表非线性标定</source>
        <translation>Acc NL calib</translation>
    </message>
    <message>
        <source>陀螺非线性复测</source>
        <translation>Gyro NL retest</translation>
    </message>
    <message>
        <source>加表非线性复测</source>
        <translation>Acc NL retest</translation>
    </message>
    <message>
        <source>转台自动标定</source>
        <translation>Table calibration</translation>
    </message>
    <message>
        <source>转台自动复测</source>
        <translation>Table retest</translation>
    </message>
    <message>
        <source>转台一键转动</source>
        <translation>One-click run</translation>
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
        <translation>Internal tests</translation>
    </message>
    <message>
        <source>清calib_flag</source>
        <translation>Clear calib_flag</translation>
    </message>
    <message>
        <source>标度因子测试</source>
        <translation>Scale factor</translation>
    </message>
    <message>
        <source>设置单IMU</source>
        <translation>Set single IMU</translation>
    </message>
    <message>
        <source>G值1</source>
        <translation>G1</translation>
    </message>
    <message>
        <source>G值2</source>
        <translation>G2</translation>
    </message>
    <message>
        <source>G值3</source>
        <translation>G3</translation>
    </message>
    <message>
        <source>G值4</source>
        <translation>G4</translation>
    </message>
    <message>
        <source>多位置对转</source>
        <translation>Multi-position</translation>
    </message>
    <message>
        <source>递增角度</source>
        <translation>Step angle</translation>
    </message>
    <message>
        <source>静止时间</source>
        <translation>Static time</translation>
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
        <source>After </source>
        <translation>After </translation>
    </message>
    <message>
        <source>min,start sending static retest commands in 5 minutes!！</source>
        <translation> min the static retest commands start (sent for 5 minutes)!</translation>
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
        <translation>Sending commands</translation>
    </message>
    <message>
        <source>ALlan static retest completed</source>
        <translation>Allan static retest completed</translation>
    </message>
    <message>
        <source>ALlan static retest completed, please check the retest flag position</source>
        <translation>Allan static retest completed, please check the retest flag</translation>
    </message>
    <message>
        <source>Please save the original data</source>
        <translation>Please save the original data</translation>
    </message>
    <message>
        <source>Power off after 1min！Wait for 30 minutes after power outage</source>
        <translation>Power off after 1 min, then wait 30 minutes!</translation>
    </message>
    <message>
        <source>Power off, insulation for 30 minutes after power off</source>
        <translation>Power off; soak 30 minutes</translation>
    </message>
    <message>
        <source>Power on</source>
        <translation>Power on</translation>
    </message>
    <message>
        <source>1分钟后发送，等待calib_status状态改变后自动结束</source>
        <translation>Sends in 1 min; ends when calib_status changes</translation>
    </message>
    <message>
        <source>Advanced ALlan static retest completed, please check if the flag is correct</source>
        <translation>Advanced Allan static retest completed, please check the flag</translation>
    </message>
    <message>
        <source>Cannot start: not linked: %1</source>
        <translation>Cannot start: not linked: %1</translation>
    </message>
    <message>
        <source>No module reported the end of the retest (58017) within %1 min of its command: the run is stopped and nothing is uploaded</source>
        <translation>No module reported the end of the retest (58017) within %1 min of its command: the run is stopped and nothing is uploaded</translation>
    </message>
    <message>
        <source>%1 stopped</source>
        <translation>%1 stopped</translation>
    </message>
    <message>
        <source>The retest has ended: its results are posted now</source>
        <translation>The retest has ended: its results are posted now</translation>
    </message>
    <message>
        <source>no end report (58017) within %1 min of the retest command</source>
        <translation>no end report (58017) within %1 min of the retest command</translation>
    </message>
</context>
</TS>
