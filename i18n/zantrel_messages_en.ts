<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Zantrel</name>
    <message>
        <source>注：webp 的各行没有数值：WebP 不接受长于 %1 像素的边</source>
        <translation>Note: the webp rows have no figures: WebP takes no side longer than %1 pixels</translation>
    </message>
    <message>
        <source>命令行参数有误：%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1：所有分块的搜索用了 %2 毫秒，%3 个点共用一次（不计入任何一行的毫秒数）</source>
        <translation>%1: the search of every block took %2 ms, once for all %3 points (in no row's milliseconds)</translation>
    </message>
    <message>
        <source>webp 无法以设置 %1 编码这幅图像：WebP 不接受长于 %2 像素的边</source>
        <translation>webp could not code this picture at setting %1: WebP takes no side longer than %2 pixels</translation>
    </message>
    <message>
        <source>%1 无法以设置 %2 编码这幅图像</source>
        <translation>%1 could not code this picture at setting %2</translation>
    </message>
    <message>
        <source>%1 达不到每像素 %2 比特：最接近的是 %3</source>
        <translation>%1 cannot reach %2 bits per pixel: the nearest is %3</translation>
    </message>
    <message>
        <source>请键入一个整数。</source>
        <translation>Please enter a whole number.</translation>
    </message>
    <message>
        <source>“请填入一个在%1和%2之间的整数。”</source>
        <translation>Please enter a whole number between %1 and %2.</translation>
    </message>
    <message>
        <source>请键入一个数。</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <source>“请填入一个在%1和%2之间的数字。”</source>
        <translation>Please enter a number between %1 and %2.</translation>
    </message>
    <message>
        <source>请输入24位的图像!</source>
        <translation>Please open a 24-bit picture.</translation>
    </message>
    <message>
        <source>请输入%1X%1大小的图像!</source>
        <translation>Please open a picture of %1x%1 pixels.</translation>
    </message>
    <message>
        <source>图像文件不完整或已损坏!</source>
        <translation>The picture file is incomplete or damaged.</translation>
    </message>
    <message>
        <source>无法读取 %1：图像为 %2×%3，需要约 %4 MB 内存，超出了可用内存。</source>
        <translation>Cannot read %1: the picture is %2×%3 and needs about %4 MB of memory, more than is available.</translation>
    </message>
    <message>
        <source>%1 声明的图像为 %2×%3，超过了 %4 像素的上限；读取它约需 %5 MB 内存。</source>
        <translation>%1 claims a picture of %2×%3, more than the limit of %4 pixels; reading it needs about %5 MB of memory.</translation>
    </message>
    <message>
        <source>%1 的值不能用“=”相连：请写 %1 %2 或 %3=%2。</source>
        <translation>%1 takes no value attached with “=”: write %1 %2 or %3=%2.</translation>
    </message>
    <message>
        <source>%1 需要一个值，而不是选项 %2（以 - 开头的名字写作 %3=%2）。</source>
        <translation>%1 needs a value, not the option %2 (a name that starts with - is written %3=%2).</translation>
    </message>
    <message>
        <source>无法读取 %1：这是一个文件夹，不是文件。</source>
        <translation>Cannot read %1: it is a folder, not a file.</translation>
    </message>
    <message>
        <source>用 --max-pixels %1 读取它（默认上限为 %2 像素）。</source>
        <translation>Read it with --max-pixels %1 (the default limit is %2 pixels).</translation>
    </message>
    <message>
        <source>%1 是 Zantrel 文件：用 zantrel-cli decode 读取它。</source>
        <translation>%1 is a Zantrel file: read it with zantrel-cli decode.</translation>
    </message>
    <message>
        <source>%1 %2：图片只能写成 BMP（.bmp 或没有扩展名）或 PNG（.png），不能写成 %3。</source>
        <translation>%1 %2: pictures are written as BMP (.bmp or no extension) or PNG (.png), not as %3.</translation>
    </message>
    <message>
        <source>内存不足：%1×%2 的图像约需 %3 MB 内存，运行已中止，没有写入任何文件。</source>
        <translation>Out of memory: the %1×%2 picture needs about %3 MB; the run stopped and wrote no file.</translation>
    </message>
    <message>
        <source>无法读取 %1：不是可识别的图像格式。</source>
        <translation>Cannot read %1: it is not a recognised picture format.</translation>
    </message>
    <message>
        <source>无法读取 %1：图像文件不完整或已损坏!</source>
        <translation>Cannot read %1: the picture file is incomplete or damaged.</translation>
    </message>
    <message>
        <source>无法读取 %1：图像为 %2×%3，宽和高须在 1 到 %4 之间。</source>
        <translation>Cannot read %1: the picture is %2×%3; width and height must be between 1 and %4.</translation>
    </message>
    <message>
        <source>无法读取 %1：不支持这种 BMP 变体（%2）。</source>
        <translation>Cannot read %1: this variant of BMP (%2) is not supported.</translation>
    </message>
    <message>
        <source>每像素 64 位</source>
        <translation>64 bits a pixel</translation>
    </message>
    <message>
        <source>Huffman 1D 编码</source>
        <translation>Huffman 1D coding</translation>
    </message>
    <message>
        <source>24 位游程编码（RLE24）</source>
        <translation>24-bit run-length coding (RLE24)</translation>
    </message>
    <message>
        <source>带 alpha 的位域</source>
        <translation>bit fields with alpha</translation>
    </message>
    <message>
        <source>无法读取 %1：不是 Zantrel 文件。</source>
        <translation>Cannot read %1: it is not a Zantrel file.</translation>
    </message>
    <message>
        <source>无法读取 %1：Zantrel 文件的版本无法识别（本程序读取版本 %2）。</source>
        <translation>Cannot read %1: the version of the Zantrel file is not recognised (this program reads version %2).</translation>
    </message>
    <message>
        <source>无法读取 %1：文件头中的%2为 %3，超出范围（%4 到 %5）。</source>
        <translation>Cannot read %1: the %2 in its header is %3, out of range (%4 to %5).</translation>
    </message>
    <message>
        <source>图像宽度</source>
        <translation>picture width</translation>
    </message>
    <message>
        <source>图像高度</source>
        <translation>picture height</translation>
    </message>
    <message>
        <source>最小块尺寸</source>
        <translation>minimum block size</translation>
    </message>
    <message>
        <source>惩罚因子</source>
        <translation>penalty factor</translation>
    </message>
    <message>
        <source>无法读取 %1：文件头中的平面数为 %2，本程序只读取 1 个（灰度）平面。</source>
        <translation>Cannot read %1: its header gives %2 planes; this program reads files of 1 (gray) plane.</translation>
    </message>
    <message>
        <source>值量化参数 Q</source>
        <translation>value quantiser Q</translation>
    </message>
    <message>
        <source>梯度量化参数 G</source>
        <translation>gradient quantiser G</translation>
    </message>
    <message>
        <source>无法读取 %1：Zantrel 文件头中有超出范围的字段。</source>
        <translation>Cannot read %1: a field of its Zantrel header is out of range.</translation>
    </message>
    <message>
        <source>已读取 %1，但这幅 %2×%3 的图像运行约需 %4 MB 内存，超出了可用内存；没有写入任何文件。</source>
        <translation>%1 was read, but a run on its %2×%3 picture needs about %4 MB of memory, more than is available; nothing was written.</translation>
    </message>
    <message>
        <source>只有 %1 个线程（共 %2 个）能够启动：以 %1 个线程继续，结果不变。</source>
        <translation>Only %1 of %2 threads could start: continuing with %1; the results are the same.</translation>
    </message>
    <message>
        <source>无法读取 %1：Zantrel 文件不完整或已损坏!</source>
        <translation>Cannot read %1: the Zantrel file is incomplete or damaged.</translation>
    </message>
    <message>
        <source>无法读取 %1：Zantrel 文件末尾有多余的数据。</source>
        <translation>Cannot read %1: the Zantrel file has extra data at its end.</translation>
    </message>
    <message>
        <source>没有找到 %1。</source>
        <translation>%1 was not found.</translation>
    </message>
    <message>
        <source>对 %1 的存取被拒绝。</source>
        <translation>Access to %1 was denied.</translation>
    </message>
    <message>
        <source>在存取 %1 时发生共享违例。</source>
        <translation>A sharing violation occurred while accessing %1.</translation>
    </message>
    <message>
        <source>磁盘已满，无法写入 %1。</source>
        <translation>The disk is full; %1 cannot be written.</translation>
    </message>
    <message>
        <source>%1 太大：超出了文件大小的限制，无法写入。</source>
        <translation>%1 is too large: it exceeds the file size limit and cannot be written.</translation>
    </message>
    <message>
        <source>预计切割线搜索约需 %1 秒。</source>
        <translation>The cut-line search will take about %1 seconds.</translation>
    </message>
    <message>
        <source>无法读取 %1：导入不读取 %2 格式（它读取 PNG、JPEG、TIFF、PGM/PPM、WebP、GIF 和 BMP）。</source>
        <translation>Cannot read %1: the import does not read the %2 format (it reads PNG, JPEG, TIFF, PGM/PPM, WebP, GIF and BMP).</translation>
    </message>
    <message>
        <source>%1 不是普通文件。</source>
        <translation>%1 is not a regular file.</translation>
    </message>
    <message>
        <source>%1 的符号链接层数过多。</source>
        <translation>%1 has too many levels of symbolic links.</translation>
    </message>
    <message>
        <source>%1 所在的文件系统是只读的。</source>
        <translation>The file system that holds %1 is read-only.</translation>
    </message>
    <message>
        <source>%1 所在的路径不是文件夹。</source>
        <translation>A part of the path of %1 is not a folder.</translation>
    </message>
    <message>
        <source>文件名 %1 太长。</source>
        <translation>The file name %1 is too long.</translation>
    </message>
    <message>
        <source>命令失败。</source>
        <translation>The command failed.</translation>
    </message>
    <message>
        <source>竖线穷举</source>
        <translation>Searching row cuts, size groups to go: </translation>
    </message>
    <message>
        <source>横线穷举</source>
        <translation>Searching column cuts, size groups to go: </translation>
    </message>
    <message>
        <source>一般斜线穷举</source>
        <translation>Searching oblique cuts, size groups to go: </translation>
    </message>
    <message>
        <source>Zantrel解码</source>
        <translation>Zantrel reconstruction</translation>
    </message>
    <message>
        <source>解码完毕</source>
        <translation>Reconstruction finished</translation>
    </message>
    <message>
        <source>率失真优化：逐块搜索</source>
        <translation>Optimised: searching every block</translation>
    </message>
    <message>
        <source>率失真优化：剪枝与编码</source>
        <translation>Optimised: pruning and encoding</translation>
    </message>
    <message>
        <source>率失真优化：寻找目标比特率</source>
        <translation>Optimised: seeking the target bit rate</translation>
    </message>
    <message>
        <source>无法达到 %1 比特/像素：最接近的是 %2。</source>
        <translation>%1 bits per pixel cannot be reached: the nearest is %2.</translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation>%1 left</translation>
    </message>
</context>
</TS>
