"""Quimbrel.exe shows its window with the exact caption bytes and geometry."""
import os

from quimbrel_e2e import QuimbrelCase, gbk_hex, main


class MainWindow(QuimbrelCase):
    def test_caption_geometry_and_controls(self):
        hwnd = self.start()
        info = self.probe.window(hwnd)
        self.assertEqual(info['caption'], bytes.hex(b'Quimbrel      3.2'))
        self.assertEqual(info['rect'], '377,248,270,271')
        self.assertEqual(info['visible'], '1')
        self.assertEqual(info['parent'], '0x0')
        self.assertEqual(int(info['exstyle'], 16) & 0x8, 0, 'topmost at start')
        children = self.probe.children(hwnd)
        self.assertEqual([c['id'] for c in children],
                         ['3001'] + [str(n) for n in range(1021, 1000, -1)] + ['2003', '2002', '2001'])
        by_id = {c['id']: c for c in children}
        self.assertEqual(by_id['1011']['caption'], gbk_hex('事件查看器 '))
        self.assertEqual(by_id['1011']['rect'], '89,129,88,24')
        self.assertEqual(by_id['2001']['rect'], '6,-3,72,220')
        self.assertEqual(by_id['3001']['visible'], '0')


if __name__ == '__main__':
    main()
