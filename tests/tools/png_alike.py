"""Two PNG files drawn by the two builds, held alike: the same size, at most
1 % of the pixels apart by more than 48 in a channel and a mean difference of
at most 2 (the 32-bit build rounds its floating point otherwise). Reads the
8-bit, non-interlaced RGB and RGBA files the tool's painter writes."""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        sys.exit(f'{path}: not a PNG file')
    at, idat, header = 8, b'', None
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        sys.exit(f'{path}: a PNG of depth {depth}, colour type {colour}, interlace {interlace} is not read here')
    raw, stride = zlib.decompress(idat), width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(line)
        previous = line
    pixels = [tuple(row[x * channels:x * channels + 3]) + ((row[x * channels + 3],) if channels == 4 else (255,))
              for row in rows for x in range(width)]
    return width, height, pixels


def main():
    first, second = read_png(sys.argv[1]), read_png(sys.argv[2])
    if first[:2] != second[:2]:
        sys.exit(f'the pictures differ in size: {first[:2]} and {second[:2]}')
    apart = total = 0
    for a, b in zip(first[2], second[2]):
        worst = max(abs(x - y) for x, y in zip(a, b))
        apart += worst > 48
        total += sum(abs(x - y) for x, y in zip(a, b)) / 4
    count = len(first[2])
    share, mean = apart / count, total / count
    print(f'{share:.2%} of the pixels apart by more than 48, mean difference {mean:.2f}')
    if share > 0.01 or mean > 2:
        sys.exit('the two pictures are not alike')


main()
