"""A click or a menu command starts exactly its command line, seen by stub tools."""
from quimbrel_e2e import QuimbrelCase, main


class Launches(QuimbrelCase):
    tools = ('calc.exe', 'cmd.exe', 'shutdown.exe', 'explorer.exe', 'regedit.exe')

    def test_buttons_and_menu_items_start_their_exact_command_lines(self):
        hwnd = self.start()
        children = {c['id']: c['child'] for c in self.probe.children(hwnd)}
        self.probe.run('click', children['1008'])        # 按钮8 计算器
        self.probe.run('click', children['1008'])        # twice: two processes
        self.probe.run('click', children['1012'])        # 按钮12 命令提示符
        self.probe.run('click', children['1009'])        # 按钮9 注册表
        self.probe.run('command', hwnd, 103)             # 关机(&U)
        self.probe.run('command', hwnd, 104)             # 我的电脑(&W)
        calls = self.stub_calls(6)
        # Started from another folder, Quimbrel works in its own, and its tools inherit it.
        folder = 'Z:' + self.work.replace('/', '\\')
        self.assertEqual({directory.lower() for _, _, directory in calls}, {folder.lower()})
        self.assertEqual(sorted((tool, command) for tool, command, _ in calls), sorted([
            ('calc.exe', 'calc'),
            ('calc.exe', 'calc'),
            ('cmd.exe', 'CMD'),
            ('regedit.exe', 'regedit.exe'),
            ('shutdown.exe', 'shutdown -s '),
            ('explorer.exe', 'explorer.exe  ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}  '),
        ]))
        # The window is as it was, and still running.
        self.assertIsNone(self.process.poll())
        self.assertEqual(self.probe.window(hwnd)['caption'], bytes.hex(b'Quimbrel      3.2'))


if __name__ == '__main__':
    main()
