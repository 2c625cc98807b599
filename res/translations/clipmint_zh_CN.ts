<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CAboutBox</name>
    <message>
        <source>About Clipmint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clipmint: still images from video files
Clipmint for Linux version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clipmint user guide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes still images out of video files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Author:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clipmint developers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames are read with FFmpeg; pictures are written
with libjpeg-turbo, libpng and zlib, and shown
with Qt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the user guide:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAverageDialog</name>
    <message>
        <source>Average</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG quality:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>800*600</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1024*768</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select the target file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bmp Files(*.bmp)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jpeg Files(*.jpg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Png Files(*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the valid extension only can be jpg, png or bmp.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CBatchDialog</name>
    <message>
        <source>Jpeg Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bmp Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Png Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Begin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete source files when finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source files:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select the source folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, can&apos;t find any valid file in the source folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, can&apos;t create target folder. Please check it. (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n source file(s) could not be moved to the trash and stay where they were: %1.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Scale to %1x%2...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the settings of this tool could not be saved: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n source file(s) could not be read and stay where they were.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Sorry, %1 is one of the source files, and writing the result there would lose it. Please choose another target, or let the sources go to the trash with &quot;Delete source files when finish&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n source file(s) were left alone without a result and stay where they were: %1.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CBitrateDlg</name>
    <message>
        <source>Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate (kbps)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video bitrate(kbps)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coefficient of
variation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Begin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, can&apos;t open the AVI file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Png Files(*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image saved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CChartCtrl</name>
    <message>
        <source>Time (second)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video bitrate (kbps)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CControlPanelDlg</name>
    <message>
        <source>Save to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jpg Files(*.jpg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bmp Files(*.bmp)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Png Files(*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the valid extension only can be jpg, png or bmp.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select the target folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to save and overwrite parameters in INI file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the parameters could not be saved: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameters saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to load and replace parameters?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameters loaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All videos(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, can&apos;t create target folder. Please check it. (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, %1 of the frames could not be decoded and were not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a folder under &quot;Save to&quot; first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>key frame %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLinkLabel</name>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to open hyperlink:

</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptionDlg</name>
    <message>
        <source>Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jpeg quality:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Viewer:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the options could not be saved: %1.
They apply until the program ends.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>frames</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>milliseconds per frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As the file says</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BT.601</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BT.709</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tone-map HDR video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deinterlace interlaced video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the stored orientation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save at the display aspect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour matrix</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPositionDlg</name>
    <message>
        <source>Go</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position to frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position to location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecentVideosMenu</name>
    <message>
        <source>No recent videos</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CScaleDialog</name>
    <message>
        <source>Scale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jpeg quality:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select the target folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scale finished.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSelectFolderDialog</name>
    <message>
        <source>Select folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

This path does not exist. Do you want to create it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not create folder:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parent Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

This is a file, not a folder. Please choose a folder.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CVideoWindowDlg</name>
    <message>
        <source>%1 - %2%</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EnginePath</name>
    <message>
        <source>Sorry, the name %1 is not UTF-8 text, so the windows can&apos;t pass it on. Please rename it, or use clipmint-cli.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorMessage</name>
    <message>
        <source>the video has no frames</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the video&apos;s frame size is unusable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, can&apos;t open the file
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.
Please check it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the pictures of this video can&apos;t be decoded: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.
Its frames stay black.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, this frame can&apos;t be decoded, so it was not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, the valid extension only can be jpg, png or bmp.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, can&apos;t create target folder. Please check it. (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while accessing %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, can&apos;t write the file %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpenHelpFile</name>
    <message>
        <source>Sorry, can&apos;t find the help file. Please download the whole package again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, nothing on this desktop could open the user guide. You can open it in a web browser yourself:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlayerCommand</name>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Current Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Period Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prev Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prev Key Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Key Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit or Full Size</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ViewFirstImage</name>
    <message>
        <source>Sorry, no viewable file was found in the target folder.</source>
        <translation>抱歉，在目标目录中找不到可查看的文件。</translation>
    </message>
    <message>
        <source>Sorry, nothing on this desktop could open %1. Please choose an image viewer in the Option dialog, or set one up for the desktop.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
