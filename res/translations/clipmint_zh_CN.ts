<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CAboutBox</name>
    <message>
        <source>About Clipmint</source>
        <translation>关于 Clipmint</translation>
    </message>
    <message>
        <source>Clipmint: still images from video files
Clipmint for Linux version %1</source>
        <translation>Clipmint：从视频文件中截取静态图像
Clipmint Linux 版，版本 %1</translation>
    </message>
    <message>
        <source>Clipmint user guide</source>
        <translation>Clipmint 用户指南（英文）</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>电子邮件：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Takes still images out of video files.</source>
        <translation>从视频文件中截取静态图像。</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>作者：</translation>
    </message>
    <message>
        <source>Clipmint developers</source>
        <translation>Clipmint 开发者</translation>
    </message>
    <message>
        <source>Frames are read with FFmpeg; pictures are written
with libjpeg-turbo, libpng and zlib, and shown
with Qt.</source>
        <translation>使用 FFmpeg 读取帧；使用 libjpeg-turbo、
libpng 和 zlib 写入图片，
使用 Qt 显示。</translation>
    </message>
    <message>
        <source>Read the user guide:</source>
        <translation>阅读用户指南：</translation>
    </message>
</context>
<context>
    <name>CAverageDialog</name>
    <message>
        <source>Average</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>目标</translation>
    </message>
    <message>
        <source>Target file:</source>
        <translation>目标文件：</translation>
    </message>
    <message>
        <source>Auto number</source>
        <translation>自动编号</translation>
    </message>
    <message>
        <source>JPEG quality:</source>
        <translation>JPEG 质量：</translation>
    </message>
    <message>
        <source>800*600</source>
        <translation>800*600</translation>
    </message>
    <message>
        <source>1024*768</source>
        <translation>1024*768</translation>
    </message>
    <message>
        <source>Please select the target file.</source>
        <translation>请选择目标文件。</translation>
    </message>
    <message>
        <source>Bmp Files(*.bmp)</source>
        <translation>BMP 文件(*.bmp)</translation>
    </message>
    <message>
        <source>Jpeg Files(*.jpg)</source>
        <translation>JPEG 文件(*.jpg)</translation>
    </message>
    <message>
        <source>Png Files(*.png)</source>
        <translation>PNG 文件(*.png)</translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation>所有文件(*)</translation>
    </message>
    <message>
        <source>Average finished.</source>
        <translation>平均处理完成。</translation>
    </message>
    <message>
        <source>Sorry, the valid extension only can be jpg, png or bmp.</source>
        <translation>抱歉，扩展名只能是 jpg、png 或 bmp。</translation>
    </message>
</context>
<context>
    <name>CBatchDialog</name>
    <message>
        <source>Jpeg Files</source>
        <translation>JPEG 文件</translation>
    </message>
    <message>
        <source>Bmp Files</source>
        <translation>BMP 文件</translation>
    </message>
    <message>
        <source>Png Files</source>
        <translation>PNG 文件</translation>
    </message>
    <message>
        <source>All Files</source>
        <translation>所有文件</translation>
    </message>
    <message>
        <source>Begin</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>源</translation>
    </message>
    <message>
        <source>Delete source files when finish</source>
        <translation>完成后删除源文件</translation>
    </message>
    <message>
        <source>Source folder:</source>
        <translation>源文件夹：</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>浏览</translation>
    </message>
    <message>
        <source>View</source>
        <translation>查看</translation>
    </message>
    <message>
        <source>Source files:</source>
        <translation>源文件：</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>载入</translation>
    </message>
    <message>
        <source>Processing:</source>
        <translation>正在处理：</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Please select the source folder.</source>
        <translation>请选择源文件夹。</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t find any valid file in the source folder.</source>
        <translation>抱歉，在源文件夹中找不到有效的文件。</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t create target folder. Please check it. (%1)</source>
        <translation>抱歉，无法创建目标文件夹，请检查。(%1)</translation>
    </message>
    <message>
        <source>Average failed.</source>
        <translation>平均处理失败。</translation>
    </message>
    <message numerus="yes">
        <source>%n source file(s) could not be moved to the trash and stay where they were: %1.</source>
        <translation>
            <numerusform>%n 个源文件无法移到回收站，仍留在原处：%1。</numerusform>
        </translation>
    </message>
    <message>
        <source>Scale to %1x%2...</source>
        <translation>缩放到 %1x%2...</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Sorry, the settings of this tool could not be saved: %1.</source>
        <translation>抱歉，无法保存此工具的设置：%1。</translation>
    </message>
    <message numerus="yes">
        <source>%n source file(s) could not be read and stay where they were.</source>
        <translation>
            <numerusform>%n 个源文件无法读取，仍留在原处。</numerusform>
        </translation>
    </message>
    <message>
        <source>Sorry, %1 is one of the source files, and writing the result there would lose it. Please choose another target, or let the sources go to the trash with &quot;Delete source files when finish&quot;.</source>
        <translation>抱歉，%1 是源文件之一，把结果写到那里会丢失该文件。请选择其他目标，或勾选“完成后删除源文件”，让源文件移到回收站。</translation>
    </message>
    <message numerus="yes">
        <source>%n source file(s) were left alone without a result and stay where they were: %1.</source>
        <translation>
            <numerusform>%n 个源文件未生成结果，仍留在原处：%1。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CBitrateDlg</name>
    <message>
        <source>Bitrate</source>
        <translation>码率</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Bitrate (kbps)</source>
        <translation>码率 (kbps)</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>总码率</translation>
    </message>
    <message>
        <source>Video bitrate(kbps)</source>
        <translation>视频码率(kbps)</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>平均值</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>Coefficient of
variation</source>
        <translation>变异
系数</translation>
    </message>
    <message>
        <source>Begin</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t open the AVI file.</source>
        <translation>抱歉，无法打开 AVI 文件。</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Png Files(*.png)</source>
        <translation>PNG 文件(*.png)</translation>
    </message>
    <message>
        <source>Image saved.</source>
        <translation>图片已保存。</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>每秒</translation>
    </message>
    <message>
        <source>Frames</source>
        <translation>每帧</translation>
    </message>
    <message>
        <source>Chart the bitrate of every second, or the size of every frame</source>
        <translation>图表显示每秒的码率，或每帧的大小</translation>
    </message>
    <message>
        <source>Reading the frames&apos; picture types...</source>
        <translation>正在读取各帧的图像类型...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CChartCtrl</name>
    <message>
        <source>Time (second)</source>
        <translation>时间 (秒)</translation>
    </message>
    <message>
        <source>Video bitrate (kbps)</source>
        <translation>视频码率 (kbps)</translation>
    </message>
</context>
<context>
    <name>CContactSheetDlg</name>
    <message>
        <source>Contact Sheet</source>
        <translation>缩略图表</translation>
    </message>
    <message>
        <source> pixels</source>
        <translation> 像素</translation>
    </message>
    <message>
        <source>Key frames only</source>
        <translation>仅关键帧</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>保存...</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>列数</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>行数</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>宽度</translation>
    </message>
    <message>
        <source>Jpg Files(*.jpg)</source>
        <translation>JPG 文件(*.jpg)</translation>
    </message>
    <message>
        <source>Png Files(*.png)</source>
        <translation>PNG 文件(*.png)</translation>
    </message>
    <message>
        <source>Bmp Files(*.bmp)</source>
        <translation>BMP 文件(*.bmp)</translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation>所有文件(*)</translation>
    </message>
</context>
<context>
    <name>CControlPanelDlg</name>
    <message>
        <source>Save to</source>
        <translation>保存到</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>View</source>
        <translation>查看</translation>
    </message>
    <message>
        <source>First frame</source>
        <translation>首帧</translation>
    </message>
    <message>
        <source>Last frame</source>
        <translation>末帧</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Start frame</source>
        <translation>起始帧</translation>
    </message>
    <message>
        <source>End frame</source>
        <translation>结束帧</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>载入</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Jpg Files(*.jpg)</source>
        <translation>JPG 文件(*.jpg)</translation>
    </message>
    <message>
        <source>Bmp Files(*.bmp)</source>
        <translation>BMP 文件(*.bmp)</translation>
    </message>
    <message>
        <source>Png Files(*.png)</source>
        <translation>PNG 文件(*.png)</translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation>所有文件(*)</translation>
    </message>
    <message>
        <source>Sorry, the valid extension only can be jpg, png or bmp.</source>
        <translation>抱歉，扩展名只能是 jpg、png 或 bmp。</translation>
    </message>
    <message>
        <source>Please select the target folder.</source>
        <translation>请选择目标文件夹。</translation>
    </message>
    <message>
        <source>Are you sure you want to save and overwrite parameters in INI file?</source>
        <translation>确定要保存参数，覆盖 INI 文件中的参数吗？</translation>
    </message>
    <message>
        <source>Sorry, the parameters could not be saved: %1.</source>
        <translation>抱歉，无法保存参数：%1。</translation>
    </message>
    <message>
        <source>Parameters saved.</source>
        <translation>参数已保存。</translation>
    </message>
    <message>
        <source>Are you sure you want to load and replace parameters?</source>
        <translation>确定要载入参数，替换当前参数吗？</translation>
    </message>
    <message>
        <source>Parameters loaded.</source>
        <translation>参数已载入。</translation>
    </message>
    <message>
        <source>All videos(%1)</source>
        <translation>所有视频(%1)</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t create target folder. Please check it. (%1)</source>
        <translation>抱歉，无法创建目标文件夹，请检查。(%1)</translation>
    </message>
    <message>
        <source>Sorry, %1 of the frames could not be decoded and were not saved.</source>
        <translation>抱歉，有 %1 帧无法解码，未保存。</translation>
    </message>
    <message>
        <source>Choose a folder under &quot;Save to&quot; first.</source>
        <translation>请先在“保存到”处选择文件夹。</translation>
    </message>
    <message>
        <source>key frame %1</source>
        <translation>关键帧 %1</translation>
    </message>
    <message>
        <source>Jpg Files(*.jpg)|*.jpg|Bmp Files(*.bmp)|*.bmp|Png Files(*.png)|*.png|All Files(*.*)|*.*||</source>
        <extracomment>Names shown and their patterns, taking turns between the &apos;|&apos;; the patterns and the closing &quot;||&quot; stay as they are.</extracomment>
        <translation>JPG 文件(*.jpg)|*.jpg|BMP 文件(*.bmp)|*.bmp|PNG 文件(*.png)|*.png|所有文件(*.*)|*.*||</translation>
    </message>
    <message>
        <source>reading the video&apos;s frames: %1%</source>
        <translation>正在读取视频的帧：%1%</translation>
    </message>
</context>
<context>
    <name>CLinkLabel</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>操作系统的内存
或资源不足。</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>找不到指定的文件。</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>找不到指定的路径。</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>操作系统拒绝
访问指定的文件。</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>内存不足，无法完成操作。</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>该 .EXE 文件无效
（不是 Win32 .EXE，或 .EXE 映像有错误）。</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>发生共享冲突。</translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>文件关联
不完整或无效。</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>请求超时，
无法完成 DDE 事务。</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>DDE 事务失败。</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>正在处理其他 DDE 事务，
无法完成
此 DDE 事务。</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>没有与该文件扩展名
关联的应用程序。</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>找不到指定的动态链接库。</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>发生未知错误 (%1)。</translation>
    </message>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation>无法打开超链接：

</translation>
    </message>
</context>
<context>
    <name>COptionDlg</name>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Record Option</source>
        <translation>录制选项</translation>
    </message>
    <message>
        <source>Record every</source>
        <translation>录制间隔</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>保存格式</translation>
    </message>
    <message>
        <source>Jpeg quality:</source>
        <translation>JPEG 质量：</translation>
    </message>
    <message>
        <source>Play Option</source>
        <translation>播放选项</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>延迟</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Viewer:</source>
        <translation>图片查看器：</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Sorry, the options could not be saved: %1.
They apply until the program ends.</source>
        <translation>抱歉，无法保存选项：%1。
这些选项在程序退出前有效。</translation>
    </message>
    <message>
        <source>frames</source>
        <translation>帧</translation>
    </message>
    <message>
        <source>milliseconds per frame</source>
        <translation>毫秒/帧</translation>
    </message>
    <message>
        <source>Picture Option</source>
        <translation>画面选项</translation>
    </message>
    <message>
        <source>As the file says</source>
        <translation>按文件标注</translation>
    </message>
    <message>
        <source>BT.601</source>
        <translation>BT.601</translation>
    </message>
    <message>
        <source>BT.709</source>
        <translation>BT.709</translation>
    </message>
    <message>
        <source>Tone-map HDR video</source>
        <translation>对 HDR 视频进行色调映射</translation>
    </message>
    <message>
        <source>Deinterlace interlaced video</source>
        <translation>对隔行扫描视频去隔行</translation>
    </message>
    <message>
        <source>Keep the stored orientation</source>
        <translation>保持存储的画面方向（不旋转）</translation>
    </message>
    <message>
        <source>Save at the display aspect</source>
        <translation>按显示宽高比保存</translation>
    </message>
    <message>
        <source>Colour matrix</source>
        <translation>色彩矩阵</translation>
    </message>
    <message>
        <source>Name the video, frame and time in JPEG and PNG files</source>
        <translation>在 JPEG 和 PNG 文件中写入视频名、帧号和时间</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Record key frames only</source>
        <translation>只录制关键帧</translation>
    </message>
    <message>
        <source>Record scene changes, threshold</source>
        <translation>录制场景变化，阈值</translation>
    </message>
    <message>
        <source>Recorded Files</source>
        <translation>录制的文件</translation>
    </message>
    <message>
        <source>{frame} frame number, {count} 1, 2, 3..., {name} video name, {time} 00-01-23.456</source>
        <translation>{frame} 帧号，{count} 1、2、3……，{name} 视频名，{time} 00-01-23.456</translation>
    </message>
    <message>
        <source>List the files in frames.csv</source>
        <translation>在 frames.csv 中列出文件</translation>
    </message>
    <message>
        <source>File names:</source>
        <translation>文件名：</translation>
    </message>
</context>
<context>
    <name>CPositionDlg</name>
    <message>
        <source>Go</source>
        <translation>转到</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>定位</translation>
    </message>
    <message>
        <source>Start frame</source>
        <translation>起始帧</translation>
    </message>
    <message>
        <source>End frame</source>
        <translation>结束帧</translation>
    </message>
    <message>
        <source>Position to frame</source>
        <translation>定位到帧</translation>
    </message>
    <message>
        <source>Position to location</source>
        <translation>定位到标记</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>请输入整数。</translation>
    </message>
</context>
<context>
    <name>CRecentVideosMenu</name>
    <message>
        <source>No recent videos</source>
        <translation>没有最近打开的视频</translation>
    </message>
</context>
<context>
    <name>CScaleDialog</name>
    <message>
        <source>Scale</source>
        <translation>缩放</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>目标</translation>
    </message>
    <message>
        <source>Target file:</source>
        <translation>目标文件：</translation>
    </message>
    <message>
        <source>Jpeg quality:</source>
        <translation>JPEG 质量：</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>尺寸：</translation>
    </message>
    <message>
        <source>Target folder:</source>
        <translation>目标文件夹：</translation>
    </message>
    <message>
        <source>Please select the target folder.</source>
        <translation>请选择目标文件夹。</translation>
    </message>
    <message>
        <source>Scale finished.</source>
        <translation>缩放完成。</translation>
    </message>
</context>
<context>
    <name>CSelectFolderDialog</name>
    <message>
        <source>Select folder</source>
        <translation>选择文件夹</translation>
    </message>
    <message>
        <source>Current Folder:</source>
        <translation>当前文件夹：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Invalid Folder</source>
        <translation>无效的文件夹</translation>
    </message>
    <message>
        <source>

This path does not exist. Do you want to create it?</source>
        <translation>

此路径不存在。是否创建？</translation>
    </message>
    <message>
        <source>Could not create folder:
</source>
        <translation>无法创建文件夹：
</translation>
    </message>
    <message>
        <source>Parent Folder</source>
        <translation>上级文件夹</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>文件类型：</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>

This is a file, not a folder. Please choose a folder.</source>
        <translation>

这是文件，不是文件夹。请选择文件夹。</translation>
    </message>
</context>
<context>
    <name>CVideoWindowDlg</name>
    <message>
        <source>%1 - %2%</source>
        <translation>%1 - %2%</translation>
    </message>
</context>
<context>
    <name>EnginePath</name>
    <message>
        <source>Sorry, the name %1 is not UTF-8 text, so the windows can&apos;t pass it on. Please rename it, or use clipmint-cli.</source>
        <translation>抱歉，名称 %1 不是 UTF-8 文本，图形界面无法传递它。请重命名，或改用 clipmint-cli。</translation>
    </message>
</context>
<context>
    <name>ErrorMessage</name>
    <message>
        <source>the video has no frames</source>
        <translation>视频中没有帧</translation>
    </message>
    <message>
        <source>the video&apos;s frame size is unusable</source>
        <translation>视频的帧尺寸无法使用</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t open the file
</source>
        <translation>抱歉，无法打开文件
</translation>
    </message>
    <message>
        <source>.
Please check it.</source>
        <translation>。
请检查该文件。</translation>
    </message>
    <message>
        <source>Sorry, the pictures of this video can&apos;t be decoded: </source>
        <translation>抱歉，无法解码此视频的画面：</translation>
    </message>
    <message>
        <source>.
Its frames stay black.</source>
        <translation>。
其帧将显示为黑色。</translation>
    </message>
    <message>
        <source>Sorry, this frame can&apos;t be decoded, so it was not saved.</source>
        <translation>抱歉，此帧无法解码，未保存。</translation>
    </message>
    <message>
        <source>Sorry, the valid extension only can be jpg, png or bmp.</source>
        <translation>抱歉，扩展名只能是 jpg、png 或 bmp。</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t create target folder. Please check it. (%1)</source>
        <translation>抱歉，无法创建目标文件夹，请检查。(%1)</translation>
    </message>
    <message>
        <source>An error occurred while accessing %1: %2.</source>
        <translation>访问 %1 时出错：%2。</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t write the file %1.</source>
        <translation>抱歉，无法写入文件 %1。</translation>
    </message>
    <message>
        <source>it changed after it was read</source>
        <translation>文件在读取后被改动过</translation>
    </message>
    <message>
        <source>its sums would take more than the %1 MiB an average may use here</source>
        <translation>累加所需的内存超过了此处平均处理可用的 %1 MiB</translation>
    </message>
    <message>
        <source>there is not enough memory for its result of %1</source>
        <translation>内存不足，无法生成 %1 的结果</translation>
    </message>
    <message>
        <source>its result of %1 is larger than a %2 file can hold</source>
        <translation>%1 的结果超出了 %2 文件所能容纳的尺寸</translation>
    </message>
    <message>
        <source>its result of %1 would take %2 of memory, more than the %3 a result may take here</source>
        <translation>%1 的结果需要 %2 内存，超过了此处单个结果可用的 %3</translation>
    </message>
    <message>
        <source>its result would take the name %1, which is another file of this run</source>
        <translation>其结果的文件名 %1 与本次处理中的另一个文件相同</translation>
    </message>
    <message>
        <source>the trash folder %1 can&apos;t be created: %2</source>
        <translation>无法创建回收站文件夹 %1：%2</translation>
    </message>
    <message>
        <source>its entry in the trash can&apos;t be written: %1</source>
        <translation>无法写入其在回收站中的记录：%1</translation>
    </message>
    <message>
        <source>the trash holds too many files of its name</source>
        <translation>回收站中同名的文件过多</translation>
    </message>
    <message>
        <source>Sorry, there is not enough memory to average the images.</source>
        <translation>抱歉，内存不足，无法对图像进行平均处理。</translation>
    </message>
    <message>
        <source>Sorry, there is not enough memory to average %1.</source>
        <translation>抱歉，内存不足，无法对 %1 进行平均处理。</translation>
    </message>
    <message>
        <source>Sorry, there is not enough memory to make %1.</source>
        <translation>抱歉，内存不足，无法生成 %1。</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t make the result of %1: %2</source>
        <translation>抱歉，无法生成 %1 的结果：%2</translation>
    </message>
    <message>
        <source>Sorry, can&apos;t write the file %1. It is one of the sources, and it can&apos;t be moved to the trash.</source>
        <translation>抱歉，无法写入文件 %1。它是源文件之一，且无法移到回收站。</translation>
    </message>
    <message>
        <source>Sorry, the picture is empty.</source>
        <translation>抱歉，图片是空的。</translation>
    </message>
    <message>
        <source>the settings file %1 can&apos;t be written: %2</source>
        <translation>无法写入设置文件 %1：%2</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>它不是普通文件</translation>
    </message>
    <message>
        <source>it is larger than 1 MiB, more than a settings file can be</source>
        <translation>它大于 1 MiB，超出了设置文件应有的大小</translation>
    </message>
    <message>
        <source>the value holds a line break or the name can&apos;t be stored</source>
        <translation>值中含有换行符，或名称无法保存</translation>
    </message>
    <message>
        <source>The opening of %1 was stopped.</source>
        <translation>已停止打开 %1。</translation>
    </message>
    <message>
        <source>Sorry, the contact sheet would be %1 pixels, taller than 30000. Please choose fewer rows or a smaller width.</source>
        <translation>抱歉，缩略图表将为 %1 像素，高度超过 30000。请减少行数或减小宽度。</translation>
    </message>
    <message>
        <source>Sorry, the file name pattern &quot;%1&quot; holds neither {frame} nor {count}, so two frames could get one name.</source>
        <translation>抱歉，文件名模式“%1”既不含 {frame} 也不含 {count}，两帧可能得到同一个名字。</translation>
    </message>
    <message>
        <source>Sorry, the file name pattern &quot;%1&quot; may hold no &quot;/&quot; and no control character, and may not start with &quot;.&quot;.</source>
        <translation>抱歉，文件名模式“%1”不能含有“/”或控制字符，也不能以“.”开头。</translation>
    </message>
    <message>
        <source>Sorry, the file name pattern &quot;%1&quot; holds %2, which is none of {frame}, {frame:N}, {count}, {count:N}, {name} and {time}.</source>
        <translation>抱歉，文件名模式“%1”含有 %2，它不是 {frame}、{frame:N}、{count}、{count:N}、{name} 或 {time} 中的任何一个。</translation>
    </message>
</context>
<context>
    <name>FrameChart</name>
    <message>
        <source>key frame</source>
        <translation>关键帧</translation>
    </message>
    <message>
        <source>mean of a second</source>
        <translation>一秒平均值</translation>
    </message>
    <message>
        <source>Key frame interval: shortest %1, average %2, longest %3</source>
        <translation>关键帧间隔：最短 %1，平均 %2，最长 %3</translation>
    </message>
    <message>
        <source>Frame size (bytes) by frame</source>
        <translation>各帧大小（字节）</translation>
    </message>
</context>
<context>
    <name>OpenHelpFile</name>
    <message>
        <source>Sorry, can&apos;t find the help file. Please download the whole package again.</source>
        <translation>抱歉，找不到帮助文件。请重新下载完整的软件包。</translation>
    </message>
    <message>
        <source>Sorry, nothing on this desktop could open the user guide. You can open it in a web browser yourself:
%1</source>
        <translation>抱歉，此桌面上没有能打开用户指南的程序。您可以自行用网页浏览器打开：
%1</translation>
    </message>
</context>
<context>
    <name>PlayerCommand</name>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save Current Image</source>
        <translation>保存当前图像</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>录制</translation>
    </message>
    <message>
        <source>Period Record</source>
        <translation>区间录制</translation>
    </message>
    <message>
        <source>First Frame</source>
        <translation>首帧</translation>
    </message>
    <message>
        <source>Prev Frame</source>
        <translation>上一帧</translation>
    </message>
    <message>
        <source>Next Frame</source>
        <translation>下一帧</translation>
    </message>
    <message>
        <source>Last Frame</source>
        <translation>末帧</translation>
    </message>
    <message>
        <source>Prev Key Frame</source>
        <translation>上一关键帧</translation>
    </message>
    <message>
        <source>Next Key Frame</source>
        <translation>下一关键帧</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>定位</translation>
    </message>
    <message>
        <source>Start Position</source>
        <translation>设为起始帧</translation>
    </message>
    <message>
        <source>End Position</source>
        <translation>设为结束帧</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>缩放</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>平均</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>码率</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Copy Image</source>
        <translation>复制图像</translation>
    </message>
    <message>
        <source>Fit or Full Size</source>
        <translation>适应窗口/原始尺寸</translation>
    </message>
    <message>
        <source>Contact Sheet</source>
        <translation>缩略图表</translation>
    </message>
</context>
<context>
    <name>ViewFirstImage</name>
    <message>
        <source>Sorry, no viewable file was found in the target folder.</source>
        <translation>抱歉，在目标文件夹中找不到可查看的文件。</translation>
    </message>
    <message>
        <source>Sorry, nothing on this desktop could open %1. Please choose an image viewer in the Option dialog, or set one up for the desktop.</source>
        <translation>抱歉，此桌面上没有能打开 %1 的程序。请在“选项”对话框中选择图片查看器，或为桌面设置一个。</translation>
    </message>
</context>
</TS>
