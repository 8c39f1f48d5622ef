<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AppTexts</name>
    <message>
        <source>Zantrel 项目组 制作</source>
        <translation>Made by the Zantrel team</translation>
    </message>
    <message>
        <source>Zantrel（Zantrel 项目组 制作）</source>
        <translation>Zantrel (made by the Zantrel team)</translation>
    </message>
    <message>
        <source>图象处理</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>命令失败。</source>
        <translation>The command failed.</translation>
    </message>
</context>
<context>
    <name>zantrel::AboutDlg</name>
    <message>
        <source>关于 Zantrel</source>
        <translation>About Zantrel</translation>
    </message>
    <message>
        <source>Zantrel 版本 %1</source>
        <translation>Zantrel version %1</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>BlockLookup</name>
    <message>
        <source>块 (行 %1, 列 %2) 大小 %3：</source>
        <translation>Block (row %1, column %2) size %3: </translation>
    </message>
    <message>
        <source>切割线 (%1, %2)–(%3, %4)，A 侧 %5，B 侧 %6</source>
        <translation>cut line (%1, %2)–(%3, %4), side A %5, side B %6</translation>
    </message>
    <message>
        <source>单值 %1</source>
        <translation>single value %1</translation>
    </message>
    <message>
        <source>，平方误差 %1</source>
        <translation>, squared error %1</translation>
    </message>
    <message>
        <source>中心 %1，横向 %2，纵向 %3</source>
        <translation>centre %1, across %2, upwards %3</translation>
    </message>
    <message>
        <source>斜面：%1</source>
        <translation>ramp: %1</translation>
    </message>
    <message>
        <source>切割线 (%1, %2)–(%3, %4)，A 侧斜面：%5；B 侧斜面：%6</source>
        <translation>cut line (%1, %2)–(%3, %4), side A ramp: %5; side B ramp: %6</translation>
    </message>
</context>
<context>
    <name>zantrel::DecompParamDlg</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>请输入惩罚因子</source>
        <translation>Penalty factor</translation>
    </message>
    <message>
        <source>分解深度</source>
        <translation>Decomposition depth</translation>
    </message>
    <message>
        <source>最小分块尺寸</source>
        <translation>Minimum block size</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zantrel::ExplorePanel</name>
    <message>
        <source>探索</source>
        <translation>Explore</translation>
    </message>
    <message>
        <source>分解深度</source>
        <translation>Decomposition depth</translation>
    </message>
    <message>
        <source>当前结果</source>
        <translation>Current result</translation>
    </message>
    <message>
        <source>率失真曲线（点击一点取其惩罚因子）</source>
        <translation>Rate–distortion curve (click a point to take its penalty factor)</translation>
    </message>
    <message>
        <source>惩罚因子 0.1 … 100000，每格十倍</source>
        <translation>Penalty factor 0.1 … 100000, ten times per tick</translation>
    </message>
    <message>
        <source>惩罚因子（0 … 100000000），回车应用</source>
        <translation>Penalty factor (0 … 100000000), Enter applies it</translation>
    </message>
    <message>
        <source>最小分块尺寸（1 … 128），回车应用</source>
        <translation>Minimum block size (1 … 128), Enter applies it</translation>
    </message>
    <message>
        <source>惩罚因子</source>
        <translation>Penalty factor</translation>
    </message>
    <message>
        <source>最小分块尺寸</source>
        <translation>Minimum block size</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>分块数</source>
        <translation>Blocks</translation>
    </message>
    <message>
        <source>切割模型数</source>
        <translation>Cut models</translation>
    </message>
    <message>
        <source>估计比特率</source>
        <translation>Estimated bit rate</translation>
    </message>
    <message>
        <source>文件比特率</source>
        <translation>File bit rate</translation>
    </message>
    <message>
        <source>惩罚因子 %1，最小分块尺寸 %2</source>
        <translation>penalty factor %1, minimum block size %2</translation>
    </message>
    <message>
        <source>比特/像素</source>
        <translation>bits/pixel</translation>
    </message>
    <message>
        <source>正在计算…</source>
        <translation>Computing…</translation>
    </message>
    <message>
        <source>解码的 Zantrel 文件没有灰度图像，不能探索。</source>
        <translation>A decoded Zantrel file has no gray picture to explore.</translation>
    </message>
    <message>
        <source>请先执行“图像灰度化”：探索在灰度图像上进行。</source>
        <translation>Run “Convert to Gray” first: exploring works on the gray picture.</translation>
    </message>
    <message>
        <source>文件比特率（%1 … %2 比特/像素），回车应用</source>
        <translation>File bit rate (%1 … %2 bits/pixel), Enter applies it</translation>
    </message>
    <message>
        <source>率失真优化：分块、切割线、斜面和量化的灰度值一起为文件选择，惩罚因子是文件每一比特的代价</source>
        <translation>Optimised: blocks, cut lines, ramps and quantised gray values are chosen together for the file, the penalty factor being the price of each bit of the file</translation>
    </message>
    <message>
        <source>比特率</source>
        <translation>Bit rate</translation>
    </message>
    <message>
        <source>滑块调节惩罚因子，或（率失真优化时）文件的比特率</source>
        <translation>The slider sets the penalty factor or, when optimised, the file’s bit rate</translation>
    </message>
    <message>
        <source>模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>滑块调节</source>
        <translation>Slider sets</translation>
    </message>
    <message>
        <source>斜面数</source>
        <translation>Ramps</translation>
    </message>
    <message>
        <source>文件比特率 %1 … %2 比特/像素，每两格十倍</source>
        <translation>File bit rate %1 … %2 bits/pixel, ten times every two ticks</translation>
    </message>
    <message>
        <source>最小分块尺寸为 %1 时，最细的分解也只有这么多。</source>
        <translation>At minimum block size %1 even the finest decomposition gives no more.</translation>
    </message>
    <message>
        <source>最粗的分解的文件也不会更小。</source>
        <translation>Even the coarsest decomposition&apos;s file is no smaller.</translation>
    </message>
    <message>
        <source>相邻的两个惩罚因子之间，文件比特率跳过了它。</source>
        <translation>Between two neighbouring penalties the file&apos;s bit rate jumps over it.</translation>
    </message>
    <message>
        <source>无法达到 %1 比特/像素：最接近的是 %2。</source>
        <translation>Cannot reach %1 bits/pixel: the nearest is %2. </translation>
    </message>
</context>
<context>
    <name>zantrel::MainFrame</name>
    <message>
        <source>内存不足：%1×%2 的图像约需 %3 MB 内存，命令已中止，文档保持原样。</source>
        <translation>Out of memory: a %1×%2 picture needs about %3 MB. The command was stopped; the document is as it was.</translation>
    </message>
    <message>
        <source>“导入图像…”（Ctrl+I）可打开任意位深和尺寸的图像。</source>
        <translation>Import picture… (Ctrl+I) opens pictures of any depth and size.</translation>
    </message>
    <message>
        <source>标准</source>
        <translation>Standard</translation>
    </message>
</context>
<context>
    <name>zantrel::ProgressStatusBar</name>
    <message>
        <source>约剩 %1 秒</source>
        <translation>about %1 s left</translation>
    </message>
    <message>
        <source>约剩 %1 分 %2 秒</source>
        <translation>about %1 min %2 s left</translation>
    </message>
    <message>
        <source>大写</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>滚动</source>
        <translation>SCRL</translation>
    </message>
</context>
<context>
    <name>zantrel::RateCurveWidget</name>
    <message>
        <source>惩罚因子 %1：%2 dB，%3 比特/像素</source>
        <translation>Penalty factor %1: %2 dB, %3 bits/pixel</translation>
    </message>
    <message>
        <source>正在计算率失真曲线…</source>
        <translation>Computing the rate–distortion curve…</translation>
    </message>
    <message>
        <source>没有率失真曲线</source>
        <translation>No rate–distortion curve</translation>
    </message>
    <message>
        <source>每个惩罚因子都完全重建了图像（PSNR 无穷大），没有可画的曲线</source>
        <translation>Every penalty factor reconstructs the picture exactly (infinite PSNR): there is no curve to draw</translation>
    </message>
    <message>
        <source>文件比特率（比特/像素）</source>
        <translation>File bit rate (bits/pixel)</translation>
    </message>
    <message>
        <source>每个惩罚因子都得到同样大小的文件（%1 比特/像素），没有可画的曲线</source>
        <translation>Every penalty factor gives a file of the same size (%1 bits/pixel): there is no curve to draw</translation>
    </message>
    <message>
        <source>PSNR（dB）</source>
        <translation>PSNR (dB)</translation>
    </message>
    <message>
        <source>当前结果</source>
        <translation>Current result</translation>
    </message>
</context>
<context>
    <name>WidgetDialogHost</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>打印到 PDF 文件</source>
        <translation>Print to PDF File</translation>
    </message>
    <message>
        <source>PDF 文件(*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
</context>
<context>
    <name>CommandTable</name>
    <message>
        <source>打开图像</source>
        <translation>Open Picture</translation>
    </message>
    <message>
        <source>打开图像文件</source>
        <translation>Open a picture file</translation>
    </message>
    <message>
        <source>导入图像…</source>
        <translation>Import Picture…</translation>
    </message>
    <message>
        <source>导入其他格式或尺寸的图像</source>
        <translation>Import a picture of another format or size</translation>
    </message>
    <message>
        <source>保存图像</source>
        <translation>Save Picture</translation>
    </message>
    <message>
        <source>保存图像文件</source>
        <translation>Save the picture file</translation>
    </message>
    <message>
        <source>保存为 Zantrel 文件…</source>
        <translation>Save as Zantrel File…</translation>
    </message>
    <message>
        <source>把切割线分解编码保存为 Zantrel 文件</source>
        <translation>Encode the cut-line decomposition and save it as a Zantrel file</translation>
    </message>
    <message>
        <source>保存为 Zantrel 文件</source>
        <translation>Save as Zantrel file</translation>
    </message>
    <message>
        <source>另存当前画面…</source>
        <translation>Save Shown Picture As…</translation>
    </message>
    <message>
        <source>把当前显示的画面保存为 BMP 或 PNG 文件</source>
        <translation>Save the picture now shown as a BMP or PNG file</translation>
    </message>
    <message>
        <source>另存当前画面</source>
        <translation>Save shown picture as</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>把当前显示的画面复制到剪贴板</source>
        <translation>Copy the picture now shown to the clipboard</translation>
    </message>
    <message>
        <source>原彩色图像</source>
        <translation>Original Color Picture</translation>
    </message>
    <message>
        <source>图像灰度化</source>
        <translation>Convert to Gray</translation>
    </message>
    <message>
        <source>四叉树分解</source>
        <translation>Quadtree Decomposition</translation>
    </message>
    <message>
        <source>灰度网格图</source>
        <translation>Gray Grid</translation>
    </message>
    <message>
        <source>Zantrel分解图</source>
        <translation>Zantrel Approximation</translation>
    </message>
    <message>
        <source>网格Zantrel线</source>
        <translation>Grid Cut Lines</translation>
    </message>
    <message>
        <source>图像误差</source>
        <translation>Picture Error</translation>
    </message>
    <message>
        <source>图像比特率</source>
        <translation>Picture Bit Rate</translation>
    </message>
    <message>
        <source>比特率</source>
        <translation>Bit rate</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>建立新文档</source>
        <translation>Create a new document</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>打印活动文档</source>
        <translation>Print the active document</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>退出应用程序；提示保存文档</source>
        <translation>Quit the application; prompts to save the document</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>显示或隐藏工具栏</source>
        <translation>Show or hide the toolbar</translation>
    </message>
    <message>
        <source>显隐工具栏</source>
        <translation>Toggle toolbar</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>显示或隐藏状态栏</source>
        <translation>Show or hide the status bar</translation>
    </message>
    <message>
        <source>显隐状态栏</source>
        <translation>Toggle status bar</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>放大画面</source>
        <translation>Enlarge the picture</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>缩小画面</source>
        <translation>Reduce the picture</translation>
    </message>
    <message>
        <source>实际大小</source>
        <translation>Actual Size</translation>
    </message>
    <message>
        <source>按图像的实际大小显示</source>
        <translation>Show the picture at its actual size</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Fit to Window</translation>
    </message>
    <message>
        <source>缩放图像以适合窗口</source>
        <translation>Scale the picture to fit the window</translation>
    </message>
    <message>
        <source>对比</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>并排对比两幅图像</source>
        <translation>Compare two pictures side by side</translation>
    </message>
    <message>
        <source>探索</source>
        <translation>Explore</translation>
    </message>
    <message>
        <source>显示或隐藏探索面板：拖动惩罚因子即时重算</source>
        <translation>Show or hide the Explore panel: drag the penalty factor to recompute at once</translation>
    </message>
    <message>
        <source>显隐探索面板</source>
        <translation>Toggle Explore panel</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>停止正在进行的计算</source>
        <translation>Stop the running computation</translation>
    </message>
    <message>
        <source>停止计算 (Esc)</source>
        <translation>Stop computing (Esc)</translation>
    </message>
    <message>
        <source>关于 Zantrel(&amp;A)...</source>
        <translation>&amp;About Zantrel...</translation>
    </message>
    <message>
        <source>显示程序信息、版本号和版权</source>
        <translation>Show program information, version number and copyright</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>用中文显示界面</source>
        <translation>Show the interface in Chinese</translation>
    </message>
    <message>
        <source>用英文显示界面</source>
        <translation>Show the interface in English</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>图象处理(&amp;P)</source>
        <translation>&amp;Picture</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>打开该文档</source>
        <translation>Open this document</translation>
    </message>
    <message>
        <source>最近文件</source>
        <translation>Recent File</translation>
    </message>
</context>
<context>
    <name>zantrel::CompareView</name>
    <message>
        <source>PSNR %1 dB，文件比特率 %2 比特/像素</source>
        <translation>PSNR %1 dB, file bit rate %2 bits/pixel</translation>
    </message>
    <message>
        <source>PSNR %1 dB</source>
        <translation>PSNR %1 dB</translation>
    </message>
    <message>
        <source>文件比特率 %1 比特/像素</source>
        <translation>File bit rate %1 bits/pixel</translation>
    </message>
</context>
<context>
    <name>ComparePictures</name>
    <message>
        <source>彩色图像</source>
        <translation>Color picture</translation>
    </message>
    <message>
        <source>灰度图像</source>
        <translation>Gray picture</translation>
    </message>
    <message>
        <source>四叉树块</source>
        <translation>Block picture</translation>
    </message>
    <message>
        <source>灰度网格</source>
        <translation>Gray grid</translation>
    </message>
    <message>
        <source>Zantrel 近似</source>
        <translation>Zantrel approximation</translation>
    </message>
    <message>
        <source>切割线</source>
        <translation>Cut lines</translation>
    </message>
    <message>
        <source>误差 |灰度 − 近似|</source>
        <translation>Error |gray − approximation|</translation>
    </message>
    <message>
        <source>Zantrel 近似（精确模式）</source>
        <translation>Zantrel approximation (exact mode)</translation>
    </message>
    <message>
        <source>Zantrel 近似（率失真优化）</source>
        <translation>Zantrel approximation (optimised)</translation>
    </message>
    <message>
        <source>误差 |灰度 − 近似（精确模式）|</source>
        <translation>Error |gray − approximation (exact mode)|</translation>
    </message>
    <message>
        <source>误差 |灰度 − 近似（率失真优化）|</source>
        <translation>Error |gray − approximation (optimised)|</translation>
    </message>
</context>
<context>
    <name>ParameterFields</name>
    <message>
        <source>精确模式</source>
        <translation>Exact mode</translation>
    </message>
    <message>
        <source>率失真优化</source>
        <translation>Optimised</translation>
    </message>
    <message>
        <source>比特率须在 %1 到 %2 比特/像素之间。</source>
        <translation>The bit rate must lie between %1 and %2 bits/pixel.</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>已保存 %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>Zantrel 文件 (*.ztl)</source>
        <translation>Zantrel files (*.ztl)</translation>
    </message>
    <message>
        <source>图像文件(%1);;%2;;所有文件(*)</source>
        <translation>Picture files (%1);;%2;;All files (*)</translation>
    </message>
    <message>
        <source>图像文件(*.bmp);;</source>
        <translation>Picture files (*.bmp);;</translation>
    </message>
    <message>
        <source>图像和 Zantrel 文件(*.bmp *.ztl)</source>
        <translation>Pictures and Zantrel files (*.bmp *.ztl)</translation>
    </message>
    <message>
        <source>%1 已存在。
要替换它吗？</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>确认另存为</source>
        <translation>Confirm Save As</translation>
    </message>
    <message>
        <source>图像计算结果(*.bmp)</source>
        <translation>Computed picture (*.bmp)</translation>
    </message>
</context>
<context>
    <name>PixelClaim</name>
    <message>
        <source>读取并处理它约需 %1 秒。仍要打开它吗？</source>
        <translation>Reading and processing it takes about %1 s. Open it anyway?</translation>
    </message>
</context>
<context>
    <name>PictureCommands</name>
    <message>
        <source>要开始吗？运行中可随时按 Esc 停止。</source>
        <translation>Start it? Esc stops it at any time while it runs.</translation>
    </message>
    <message>
        <source>图像的PSNR为：</source>
        <translation>The PSNR of the picture is:</translation>
    </message>
    <message>
        <source>图像的BIT率为：</source>
        <translation>The bit rate of the picture is:</translation>
    </message>
    <message>
        <source>BIT率计算完毕</source>
        <translation>Bit rate computed</translation>
    </message>
    <message>
        <source>单位：dB</source>
        <translation>Unit: dB</translation>
    </message>
    <message>
        <source>单位：比特/像素</source>
        <translation>Unit: bits/pixel</translation>
    </message>
</context>
<context>
    <name>PicturePrint</name>
    <message>
        <source>已打印到 %1</source>
        <translation>Printed to %1</translation>
    </message>
</context>
<context>
    <name>ShownPictureCommands</name>
    <message>
        <source>BMP 图像(*.bmp);;PNG 图像(*.png)</source>
        <translation>BMP pictures (*.bmp);;PNG pictures (*.png)</translation>
    </message>
</context>
<context>
    <name>ZtlFileStatus</name>
    <message>
        <source>%1：%2 字节，%3 比特/像素</source>
        <translation>%1: %2 bytes, %3 bits/pixel</translation>
    </message>
    <message>
        <source>已保存 Zantrel 文件</source>
        <translation>Zantrel file saved</translation>
    </message>
    <message>
        <source>Zantrel 文件</source>
        <translation>Zantrel file</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Zantrel：四叉树与切割线的图像逼近</source>
        <translation>Zantrel: picture approximation by quadtree and cut lines</translation>
    </message>
    <message>
        <source>启动时打开的文件：Zantrel 文件（按内容识别）解码打开，.bmp 文件按 24 位 512×512 BMP 打开，其他格式经导入打开</source>
        <translation>The file to open at start: a Zantrel file (known by its content) is decoded, a .bmp file opens as a 24-bit 512×512 BMP, any other format is imported</translation>
    </message>
</context>
</TS>
